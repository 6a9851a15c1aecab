#include "app/checker_elements_page.h"

#include "app/app_state.h"

namespace quorvel::app {

CheckerElementsPage::CheckerElementsPage(AppState& state, QWidget* parent)
    : SheetPage(state, parent) {}

bool CheckerElementsPage::leavePage() {
    return true;
}

void CheckerElementsPage::enterPage() {}

}  // namespace quorvel::app
