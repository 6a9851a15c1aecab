#pragma once

// A page of the main window: it copies values between its controls and the
// program's settings when it is entered and left.

#include <QString>
#include <QWidget>

namespace quorvel::app {

struct AppState;

class SheetPage : public QWidget {
    Q_OBJECT
public:
    SheetPage(AppState& state, QWidget* parent = nullptr) : QWidget(parent), state_(state) {}

    // Called before another page becomes active or a run starts: the page
    // stores what its controls hold. False refuses the change.
    virtual bool leavePage() { return true; }
    // Called whenever the page becomes active: it refills its controls.
    virtual void enterPage() {}
    // The help page that Help opens while this page is active.
    virtual QString helpPage() const = 0;

protected:
    AppState& state() { return state_; }
    const AppState& state() const { return state_; }

private:
    AppState& state_;
};

}  // namespace quorvel::app
