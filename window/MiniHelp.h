#pragma once
#include <QStringList>

// The lines of the settings page's mini-help, one list item each.
QStringList MiniHelpLines();
