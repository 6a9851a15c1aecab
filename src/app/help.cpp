#include "app/help.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "app/message_box.h"

namespace quorvel::app {

namespace {

QString& folderSetting() {
    static QString folder;
    return folder;
}

}  // namespace

void setHelpFolder(const QString& folder) {
    folderSetting() = folder;
}

QString helpFolder() {
    return folderSetting();
}

QString helpPageUrl(const QString& page) {
    if (helpFolder().isEmpty()) return {};
    const qsizetype hash = page.indexOf(u'#');
    const QString file = hash < 0 ? page : page.left(hash);
    if (file.isEmpty() || file.contains(QLatin1String(".."))) return {};
    const QFileInfo info(helpFolder() + u'/' + file);
    if (!info.isFile()) return {};
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (hash >= 0) url.setFragment(page.mid(hash + 1));
    return url.toString();
}

bool showHelp(QWidget* parent, const QString& page) {
    const QString url = helpPageUrl(page);
    if (!url.isEmpty() && QDesktopServices::openUrl(QUrl(url))) return true;
    MessageBox::error(parent, QStringLiteral("Quorvel"), QStringLiteral("Failed to launch help."));
    return false;
}

}  // namespace quorvel::app
