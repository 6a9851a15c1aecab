#include "app/tooltips.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <string_view>

namespace quorvel::app {

namespace {

struct ToolTipRow {
    std::string_view objectName;
    std::string_view text;
};

// One row per control that has a tooltip; each page keeps its rows together.
constexpr ToolTipRow kToolTips[] = {
    // Main window
    {"pageTabs", "Choose a page; the pages cannot be changed while a check runs"},
    {"startButton", "Check every enabled file of the current project for the current keyword"},
    {"exitButton", "Save the settings and close the program"},
    {"aboutButton", "Show the program's version, its libraries and its licence"},
    {"helpButton", "Show the help for the current page"},
    {"runProgressBar", "Files of the project checked so far"},
};

constexpr qsizetype kMaxToolTipLength = 255;

bool g_enabled = true;

void apply(QWidget* widget) {
    const QString text = toolTipText(widget->objectName());
    if (!text.isEmpty()) widget->setToolTip(g_enabled ? text : QString());
}

// Gives widgets their text when they are polished (just before they are
// first shown) and swallows every tooltip while the switch is off, also
// tooltips that a page set by itself.
class ToolTipSwitch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) return !g_enabled;
        if (event->type() == QEvent::Polish && object->isWidgetType())
            apply(static_cast<QWidget*>(object));
        return false;
    }
};

void ensureInstalled() {
    static ToolTipSwitch* installed = nullptr;
    if (installed || !qApp) return;
    installed = new ToolTipSwitch(qApp);
    qApp->installEventFilter(installed);
}

}  // namespace

QString toolTipText(const QString& objectName) {
    for (const ToolTipRow& row : kToolTips) {
        if (objectName == QLatin1String(row.objectName.data(), qsizetype(row.objectName.size())))
            return QString::fromUtf8(row.text.data(), qsizetype(row.text.size()))
                .left(kMaxToolTipLength);
    }
    return {};
}

void setToolTipsEnabled(bool enabled) {
    ensureInstalled();
    g_enabled = enabled;
    for (QWidget* widget : QApplication::allWidgets())
        apply(widget);
}

bool toolTipsEnabled() {
    return g_enabled;
}

}  // namespace quorvel::app
