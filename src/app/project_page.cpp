#include "app/project_page.h"

#include "app/app_state.h"

namespace quorvel::app {

ProjectPage::ProjectPage(AppState& state, QWidget* parent) : SheetPage(state, parent) {}

bool ProjectPage::leavePage() {
    return true;
}

void ProjectPage::enterPage() {}

}  // namespace quorvel::app
