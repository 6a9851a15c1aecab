#include "app/detail_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cstring>

#include "app/code_view.h"
#include "app/report_model.h"
#include "app/text_bytes.h"
#include "platform/file_io.h"
#include "settings/user_settings.h"
#include "settings/window_placement.h"

namespace quorvel::app {

namespace {

// Below this height the code view keeps its size when the window shrinks.
constexpr int kSmallestCodeHeight = 61;

QString withLineFeeds(std::string_view bytes) {
    QString text = textFromBytes(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QRect desktopRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

DetailDialog::DetailDialog(UserSettings& settings, const EntryDetails& details, QWidget* parent)
    : QDialog(parent), settings_(settings), details_(details) {
    setObjectName(QStringLiteral("detailDialog"));
    setWindowTitle(QStringLiteral("Quorvel - Detailed Description"));
    setSizeGripEnabled(true);
    const QIcon icon = importanceIcon(details_.iconClass);
    setWindowIcon(icon);

    iconLabel_ = new QLabel(this);
    iconLabel_->setObjectName(QStringLiteral("detailIcon"));
    iconLabel_->setPixmap(icon.pixmap(32, 32));
    iconLabel_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    detailText_ = new QPlainTextEdit(this);
    detailText_->setObjectName(QStringLiteral("detailText"));
    detailText_->setReadOnly(true);
    detailText_->setPlainText(withLineFeeds(details_.text));
    detailText_->setAccessibleName(QStringLiteral("Detailed description"));
    detailText_->setMaximumHeight(detailText_->fontMetrics().lineSpacing() * 9);

    codeLabel_ = new QLabel(tr("HTML code:"), this);
    codeLabel_->setObjectName(QStringLiteral("codeLabel"));
    codeView_ = new CodeView(this);
    codeView_->setObjectName(QStringLiteral("codeView"));
    codeView_->setAccessibleName(QStringLiteral("HTML code:"));
    codeView_->setMinimumHeight(kSmallestCodeHeight);
    codeLabel_->setBuddy(codeView_);
    codeView_->showMessage(QStringLiteral("Loading HTML file: please wait..."));

    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setAccessibleName(QStringLiteral("Close"));
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(iconLabel_);
    top->addWidget(detailText_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton_);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(codeLabel_);
    layout->addWidget(codeView_, 1);
    layout->addLayout(bottom);

    resize(720, 560);
    restorePlacement();

    qRegisterMetaType<std::vector<quorvel::ColourSpan>>();
    connect(this, &DetailDialog::coloursReady, codeView_, &CodeView::setSpans,
            Qt::QueuedConnection);

    loadTimer_.setSingleShot(true);
    loadTimer_.setInterval(kDetailLoadDelayMs);
    connect(&loadTimer_, &QTimer::timeout, this, &DetailDialog::loadPage);
    loadTimer_.start();
}

void DetailDialog::loadPage() {
    loadTimer_.stop();
    if (loaded_) return;
    loaded_ = true;
    if (details_.filePosition <= 0) {
        codeView_->showMessage(textFromBytes(kNothingToPointToText));
        return;
    }
    FileReadResult file = readWholeFile(details_.path);
    if (!file.opened) {
        codeView_->showMessage(QStringLiteral("Cannot open the HTML file:\n\n%1\n\n%2")
                                   .arg(textFromBytes(details_.path),
                                        QString::fromLocal8Bit(std::strerror(file.error))));
        return;
    }
    const std::optional<TextSelection> selection =
        problemAreaSelection(file.bytes, details_.filePosition);
    // The text is shown at once; its colours follow from a worker thread,
    // since colouring a page of many megabytes takes a noticeable moment.
    auto bytes = std::make_shared<const std::string>(file.bytes);
    codeView_->showCode(CodeText(std::move(file.bytes)), {});
    if (selection) codeView_->selectBytes(*selection);
    codeView_->setFocus();
    colourer_.reset(QThread::create([this, bytes] { emit coloursReady(colorizeHtml(*bytes)); }));
    colourer_->start();
}

DetailDialog::~DetailDialog() {
    if (colourer_) colourer_->wait();
}

void DetailDialog::restorePlacement() {
    Rect saved;
    if (!settings_.windowRect(TextOption::DetailedDescriptionWindowSize, saved)) return;
    if (saved.right <= saved.left || saved.bottom <= saved.top) return;
    const QRect desktop = desktopRect();
    const Rect fitted = fitIntoDesktop(
        saved, Rect{desktop.left(), desktop.top(), desktop.right() + 1, desktop.bottom() + 1});
    setGeometry(static_cast<int>(fitted.left), static_cast<int>(fitted.top),
                static_cast<int>(fitted.right - fitted.left),
                static_cast<int>(fitted.bottom - fitted.top));
    if (saved.showState != 0) setWindowState(windowState() | Qt::WindowMaximized);
}

void DetailDialog::savePlacement() {
    const bool maximised = isMaximized();
    const QRect normal = maximised ? normalGeometry() : geometry();
    settings_.setWindowRect(TextOption::DetailedDescriptionWindowSize,
                            Rect{normal.left(), normal.top(), normal.right() + 1,
                                 normal.bottom() + 1, maximised ? 1 : 0});
    (void)settings_.save();
}

void DetailDialog::done(int result) {
    savePlacement();
    QDialog::done(result);
}

}  // namespace quorvel::app
