#include "app/about_box.h"

#include <glib.h>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#ifdef QUORVEL_HAVE_CURL
#include <curl/curl.h>
#endif

namespace quorvel::app {

namespace {

QString compilerText() {
#if defined(__clang__)
    return QStringLiteral("Clang %1").arg(QStringLiteral(__clang_version__));
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1").arg(QStringLiteral(__VERSION__));
#else
    return QStringLiteral("unknown compiler");
#endif
}

}  // namespace

QString aboutText() {
    QString libraries = QStringLiteral("<li>Qt %1 (built with %2), LGPL 3</li>")
                            .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
#ifdef QUORVEL_HAVE_CURL
    libraries += QStringLiteral("<li>libcurl %1, curl licence</li>")
                     .arg(QString::fromLatin1(curl_version_info(CURLVERSION_NOW)->version));
#endif
    libraries += QStringLiteral("<li>GLib/GIO %1.%2.%3, LGPL 2.1</li>")
                     .arg(glib_major_version)
                     .arg(glib_minor_version)
                     .arg(glib_micro_version);
#ifdef __GLIBCXX__
    libraries += QStringLiteral("<li>GNU C++ library %1</li>").arg(__GLIBCXX__);
#endif
    return QStringLiteral(
               "<h3>Quorvel %1</h3>"
               "<p>Search Engine Optimizer: on-page checks of a site's HTML files for a "
               "keyword and a search-engine profile.</p>"
               "<p>Build %2, %3, compiled with %4.</p>"
               "<p>Libraries:</p><ul>%5</ul>"
               "<p>Copyright &copy; Maltrane. All rights reserved.<br>%6</p>")
        .arg(QStringLiteral(QUORVEL_VERSION), QStringLiteral(QUORVEL_BUILD_ID),
             QStringLiteral(__DATE__), compilerText(), libraries,
             QStringLiteral(QUORVEL_LICENCE_TEXT));
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About Quorvel ..."));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/quorvel.svg")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(aboutText(), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(380);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("aboutOkButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

}  // namespace quorvel::app
