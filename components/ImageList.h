#pragma once
// A list of images that other components may refer to.

#include "ComponentFramework.h"

#include <QIcon>
#include <vector>

class TImageList : public TComponent {
public:
    explicit TImageList(QObject* owner) : TComponent(owner) { }

    std::vector<QIcon> Images;
};
