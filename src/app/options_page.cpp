#include "app/options_page.h"

#include "app/app_state.h"

namespace quorvel::app {

OptionsPage::OptionsPage(AppState& state, QWidget* parent) : SheetPage(state, parent) {}

bool OptionsPage::leavePage() {
    return true;
}

void OptionsPage::enterPage() {}

}  // namespace quorvel::app
