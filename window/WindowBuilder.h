#pragma once
// Turns the window's description into widgets: creates each control by its
// kind, names it, gives it its text, tooltip and font, registers it with its
// container's layout and chains the keyboard focus order.
#include <map>
#include <vector>

#include <QFont>
#include <QString>
#include <QWidget>

#include "WindowDescription.h"

class TAnchorLayout;
class TUrlList;

struct TFormFonts {
    QFont Proportional;
    QFont Fixed;
};
// The window's fonts: the named gothic faces where present, else the
// proportional and fixed-pitch Japanese gothics this desktop has.
TFormFonts MainWindowFonts();

class TWindowBuilder {
public:
    TWindowBuilder(QWidget* form, TUrlList& list);

    void Build(const std::vector<TControlDescription>& descriptions);

    QWidget* Find(const QString& name) const;
    template <class T> T* Get(const char* name) const
    {
        return qobject_cast<T*>(Find(QString::fromLatin1(name)));
    }
    TAnchorLayout* LayoutOf(QWidget* container) const;
    // Recomputes every layout, outermost first (also before the window is shown).
    void ApplyLayouts() const;

private:
    QWidget* Create(const TControlDescription& item, QWidget* container);
    TAnchorLayout* LayoutFor(QWidget* container, const char* containerName);
    const TControlDescription* DescriptionOf(const char* name) const;
    std::vector<QWidget*> FocusOrder(const char* container) const;
    void ChainFocus() const;

    QWidget* FForm;
    TUrlList& FList;
    TFormFonts FFonts;
    std::vector<TControlDescription> FDescriptions;
    std::map<QString, QWidget*> FWidgets;
    std::vector<std::pair<QWidget*, TAnchorLayout*>> FLayouts;
};
