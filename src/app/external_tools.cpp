#include "app/external_tools.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include "app/message_box.h"
#include "app/text_bytes.h"
#include "settings/user_settings.h"

// Qt defines "signals" as a macro, a word that GIO's headers use as a name.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace quorvel::app {

namespace {

const QString kErrorCaption = QStringLiteral("Error Message - Quorvel");

TextOption optionOf(ExternalTool tool) {
    switch (tool) {
        case ExternalTool::Open:
            return TextOption::OpenRunApplication;
        case ExternalTool::Edit:
            return TextOption::EditRunApplication;
        case ExternalTool::EditText:
            return TextOption::EditTextRunApplication;
        case ExternalTool::User1:
            return TextOption::UserRunApplication1;
        case ExternalTool::User2:
            return TextOption::UserRunApplication2;
    }
    return TextOption::OpenRunApplication;
}

// Starts the desktop's default text application on the file, as the XDG
// MIME database names it for text/plain. False when there is none or it
// does not start.
bool launchDefaultTextEditor(const QString& fullPath) {
    GAppInfo* app = g_app_info_get_default_for_type("text/plain", FALSE);
    if (app == nullptr) return false;
    const QByteArray path = QFile::encodeName(fullPath);
    GFile* file = g_file_new_for_path(path.constData());
    GList* files = g_list_append(nullptr, file);
    GError* error = nullptr;
    const bool launched = g_app_info_launch(app, files, nullptr, &error) != FALSE;
    if (error != nullptr) g_error_free(error);
    g_list_free(files);
    g_object_unref(file);
    g_object_unref(app);
    return launched;
}

}  // namespace

QString configuredProgram(const UserSettings& settings, ExternalTool tool) {
    return textFromBytes(settings.option(optionOf(tool)));
}

bool openWithTool(QWidget* parent, const UserSettings& settings, ExternalTool tool,
                  const QString& fullPath) {
    const QString program = configuredProgram(settings, tool);
    if (!program.isEmpty()) {
        if (QProcess::startDetached(program, {fullPath})) return true;
        MessageBox::error(parent, kErrorCaption,
                          QStringLiteral("Error executing the program:\n\n%1").arg(program));
        return false;
    }
    if (tool == ExternalTool::Edit && launchDefaultTextEditor(fullPath)) return true;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(fullPath))) return true;
    MessageBox::error(
        parent, kErrorCaption,
        QStringLiteral("This file does not have a program associated with it for performing "
                       "this action.\nPlease create an association in MyComputer by clicking "
                       "View and then Folder Options\nor define a program to run in the Options "
                       "dialog."));
    return false;
}

}  // namespace quorvel::app
