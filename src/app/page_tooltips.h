#pragma once

// Tooltip texts of the Project and Options pages, keyed by the controls'
// object names.

#include <QString>

class QWidget;

namespace quorvel::app {

// The tooltip of a control; empty when it has none.
QString pageToolTipText(const QString& objectName);

// Gives every control below `root` that has a text in the table its tooltip,
// or takes it away when `enabled` is false.
void applyPageToolTips(QWidget* root, bool enabled);

}  // namespace quorvel::app
