#pragma once

// Tooltips of every control, from one table keyed by the control's object
// name. One switch (the "EnableToolTips" option) turns them on and off on
// every page at once, including windows opened later.

#include <QString>

namespace quorvel::app {

// The tooltip text of a control; empty when the table has none. At most 255
// characters.
QString toolTipText(const QString& objectName);

// Turns every tooltip of the program on or off at once: widgets that exist
// get or lose their table text now, widgets shown later get it when they are
// first shown, and no tooltip at all shows while the switch is off. The main
// window sets it from "EnableToolTips"; the Options page calls it when
// "Enable Tooltips" is clicked (and stores the option itself).
void setToolTipsEnabled(bool enabled);
bool toolTipsEnabled();

}  // namespace quorvel::app
