#include "app/report_page.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include "app/analysis_runner.h"
#include "app/app_state.h"
#include "app/detail_dialog.h"
#include "app/external_tools.h"
#include "app/help.h"
#include "app/message_box.h"
#include "app/report_commands.h"
#include "app/report_model.h"
#include "app/text_bytes.h"
#include "platform/ascii_text.h"
#include "report/entry_details.h"

namespace quorvel::app {

namespace {

constexpr int kSmallestColumnWidth = 10;
// Added to the first column, whose icon stands before its word.
constexpr int kIconRoom = 16;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

// A selector in a titled group, as the page shows its two.
QComboBox* makeSelector(const QString& title, const char* name, QGroupBox*& group,
                        QWidget* parent) {
    group = new QGroupBox(title, parent);
    auto* combo = new QComboBox(group);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(title.trimmed());
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(18);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(combo);
    return combo;
}

QByteArray byteArrayOf(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

ReportPage::ReportPage(AppState& state, QWidget* parent)
    : SheetPage(state, parent), runner_(new AnalysisRunner(this)), model_(new ReportModel(this)) {
    QGroupBox* engineGroup = nullptr;
    QGroupBox* keywordGroup = nullptr;
    engineCombo_ = makeSelector(tr(" Search Engine "), "reportEngineCombo", engineGroup, this);
    keywordCombo_ =
        makeSelector(tr(" Keyword / Phrase "), "reportKeywordCombo", keywordGroup, this);
    menuButton_ = makeButton(tr("Menu >"), "menuButton", this);
    htmlReportButton_ = makeButton(tr("Html Report"), "htmlReportButton", this);
    densivoButton_ = makeButton(QStringLiteral("Densivo"), "densivoButton", this);
    densivoButton_->setEnabled(false);
    confusingButton_ = makeButton(tr("Confusing Results ?"), "confusingResultsButton", this);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("reportTable"));
    table_->setAccessibleName(QStringLiteral("Report"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setWordWrap(false);
    table_->setShowGrid(false);
    table_->setIconSize(QSize(16, 16));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setColumnWidth(kImportanceColumn, 90);
    table_->setColumnWidth(kFileNameColumn, 120);
    table_->setColumnWidth(kDescriptionColumn, 500);
    table_->setColumnHidden(kFilePositionColumn, true);
    table_->installEventFilter(this);

    hintLabel_ = new QLabel(tr("Double Click on a line for more info."), this);
    hintLabel_->setObjectName(QStringLiteral("doubleClickLabel"));

    auto* buttons = new QGridLayout;
    buttons->addWidget(menuButton_, 0, 0);
    buttons->addWidget(htmlReportButton_, 0, 1);
    buttons->addWidget(densivoButton_, 1, 0);
    buttons->addWidget(confusingButton_, 1, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(engineGroup, 1);
    top->addWidget(keywordGroup, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(hintLabel_);

    buildMenu();

    connect(runner_, &AnalysisRunner::entriesReady, model_, &ReportModel::append);
    connect(runner_, &AnalysisRunner::fileNotOpened, this,
            [this](const QString&, const QString& message) {
                MessageBox::show(this, QMessageBox::Warning, QStringLiteral("Quorvel"), message);
            });
    connect(runner_, &AnalysisRunner::finished, this, &ReportPage::onRunFinished);
    connect(table_, &QTableView::doubleClicked, this, &ReportPage::showEntryDetails);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popupMenuAt(table_->viewport()->mapToGlobal(at)); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateMenuState(); });
    connect(menuButton_, &QPushButton::clicked, this,
            [this] { popupMenuAt(menuButton_->mapToGlobal(QPoint(menuButton_->width(), 0))); });
    connect(htmlReportButton_, &QPushButton::clicked, this,
            [this] { showHtmlReport(this, this->state(), model_->list()); });
    connect(confusingButton_, &QPushButton::clicked, this, &ReportPage::showConfusingResultsHelp);
    connect(keywordCombo_, &QComboBox::currentIndexChanged, this, &ReportPage::keywordChosen);
    connect(engineCombo_, &QComboBox::currentIndexChanged, this, &ReportPage::engineChosen);

    updateMenuState(true);
}

ReportPage::~ReportPage() {
    runner_->wait();
}

QAction* ReportPage::addMenuAction(const QString& text, const char* name) {
    QAction* action = menu_->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void ReportPage::buildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("reportMenu"));
    showDetailsAction_ = addMenuAction(tr("Show Item details [F5]"), "showDetailsAction");
    menu_->addSeparator();
    exportTextAction_ = addMenuAction(tr("Export Report as Text..."), "exportTextAction");
    exportHtmlAction_ = addMenuAction(tr("Export Report as Html..."), "exportHtmlAction");
    menu_->addSeparator();
    copyTextAction_ = addMenuAction(tr("Copy to clipboard as Text "), "copyTextAction");
    copyHtmlAction_ = addMenuAction(tr("Copy to clipboard as Html"), "copyHtmlAction");
    menu_->addSeparator();
    emailAction_ = addMenuAction(tr("Email Report..."), "emailAction");
    menu_->addSeparator();
    openBrowserAction_ = addMenuAction(tr("Open File In Browser [F2]"), "openBrowserAction");
    openHtmlEditorAction_ =
        addMenuAction(tr("Open File In HTML Editor [F3]"), "openHtmlEditorAction");
    openTextEditorAction_ =
        addMenuAction(tr("Open File In Text Editor [F4]"), "openTextEditorAction");
    openUserTool1Action_ = addMenuAction(tr("Open File In User Tool 1"), "openUserTool1Action");
    openUserTool2Action_ = addMenuAction(tr("Open File In User Tool 2"), "openUserTool2Action");

    connect(showDetailsAction_, &QAction::triggered, this, &ReportPage::showEntryDetails);
    connect(exportTextAction_, &QAction::triggered, this,
            [this] { exportReport(this, state(), model_->list(), ReportFormat::Text); });
    connect(exportHtmlAction_, &QAction::triggered, this,
            [this] { exportReport(this, state(), model_->list(), ReportFormat::Html); });
    connect(copyTextAction_, &QAction::triggered, this,
            [this] { copyReport(state(), model_->list(), ReportFormat::Text); });
    connect(copyHtmlAction_, &QAction::triggered, this,
            [this] { copyReport(state(), model_->list(), ReportFormat::Html); });
    connect(emailAction_, &QAction::triggered, this,
            [this] { sendReportMail(this, state(), model_->list()); });
    const std::pair<QAction*, ExternalTool> openers[] = {
        {openBrowserAction_, ExternalTool::Open},
        {openHtmlEditorAction_, ExternalTool::Edit},
        {openTextEditorAction_, ExternalTool::EditText},
        {openUserTool1Action_, ExternalTool::User1},
        {openUserTool2Action_, ExternalTool::User2},
    };
    for (const auto& [action, tool] : openers)
        connect(action, &QAction::triggered, this, [this, tool = tool] { openEntryFile(tool); });
}

int ReportPage::selectedRow() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows) {
        if (first < 0 || index.row() < first) first = index.row();
    }
    return first;
}

void ReportPage::updateMenuState(bool activation) {
    if (activation) {
        for (QAction* action : {openBrowserAction_, openHtmlEditorAction_, openTextEditorAction_})
            action->setEnabled(false);
    }
    const int row = selectedRow();
    const bool selected = row >= 0;
    for (QAction* action :
         {showDetailsAction_, exportTextAction_, exportHtmlAction_, copyTextAction_,
          copyHtmlAction_, openBrowserAction_, openHtmlEditorAction_, openTextEditorAction_})
        action->setEnabled(selected);
    if (!running()) htmlReportButton_->setEnabled(selected);
    const bool separator =
        selected && model_->list().row(row).importanceClass == ImportanceClass::Separator;
    showDetailsAction_->setEnabled(selected && !separator);
}

void ReportPage::popupMenuAt(const QPoint& globalPosition) {
    updateMenuState();
    menu_->popup(globalPosition);
}

bool ReportPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_F2:
                openEntryFile(ExternalTool::Open);
                return true;
            case Qt::Key_F3:
                openEntryFile(ExternalTool::Edit);
                return true;
            case Qt::Key_F4:
                openEntryFile(ExternalTool::EditText);
                return true;
            case Qt::Key_F5:
                showEntryDetails();
                return true;
            default:
                break;
        }
    }
    return SheetPage::eventFilter(watched, event);
}

void ReportPage::fitColumns() {
    for (int column = 0; column < kReportColumnCount; ++column) {
        if (column == kFilePositionColumn) continue;
        const int width =
            std::max({static_cast<QAbstractItemView*>(table_)->sizeHintForColumn(column),
                      table_->horizontalHeader()->sectionSizeHint(column), kSmallestColumnWidth});
        table_->setColumnWidth(column, column == kImportanceColumn ? width + kIconRoom : width);
    }
    table_->setColumnWidth(kFilePositionColumn, 0);
    table_->setColumnHidden(kFilePositionColumn, true);
}

void ReportPage::showEntryDetails() {
    const int row = selectedRow();
    if (row < 0) return;
    const EngineRules rules = state().checker.resolve(state().settings.currentEngine());
    const std::optional<EntryDetails> details =
        entryDetails(model_->list(), row, rules, state().settings.folder());
    if (!details) return;
    auto* dialog = new DetailDialog(state().settings, *details, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void ReportPage::openEntryFile(ExternalTool tool) {
    const int row = selectedRow();
    if (row < 0) return;
    const ReportEntry& entry = model_->list().row(row);
    if (entry.importanceClass == ImportanceClass::Separator) return;
    const std::string path = resolveEntryPath(state().settings.folder(), entry.fileName);
    openWithTool(this, state().settings, tool, textFromBytes(path));
}

bool ReportPage::leavePage() {
    return true;
}

void ReportPage::enterPage() {
    refillSelectors();
    updateMenuState(true);
}

void ReportPage::refillSelectors() {
    const QSignalBlocker keywordBlocker(keywordCombo_);
    const QSignalBlocker engineBlocker(engineCombo_);
    const UserSettings& settings = state().settings;
    keywordCombo_->clear();
    int keywordIndex = -1;
    for (int n = 1; n <= settings.keywordCount(); ++n) {
        const std::string keyword = settings.keyword(n);
        if (keywordIndex < 0 && keyword == settings.currentKeyword()) keywordIndex = n - 1;
        keywordCombo_->addItem(textFromBytes(keyword), byteArrayOf(keyword));
    }
    if (keywordCombo_->count() > 0) keywordCombo_->setCurrentIndex(std::max(keywordIndex, 0));

    const CheckerFile& checker = state().checker;
    const std::string current = settings.currentEngine();
    engineCombo_->clear();
    int engineIndex = -1;
    for (int n = 1; n <= checker.engineCount(); ++n) {
        const std::string engine = checker.engineName(n);
        if (engineIndex < 0 && equalsIgnoringAsciiCase(engine, current)) engineIndex = n - 1;
        engineCombo_->addItem(textFromBytes(engine), byteArrayOf(engine));
    }
    if (engineCombo_->count() > 0) engineCombo_->setCurrentIndex(std::max(engineIndex, 0));
}

void ReportPage::keywordChosen(int index) {
    if (index < 0 || running()) return;
    const QByteArray keyword = keywordCombo_->itemData(index).toByteArray();
    state().settings.setCurrentKeyword(std::string_view(keyword.constData(), keyword.size()));
    (void)state().settings.save();
    runAnalysis();
}

void ReportPage::engineChosen(int index) {
    if (index < 0 || running()) return;
    const QByteArray data = engineCombo_->itemData(index).toByteArray();
    const std::string engine(data.constData(), static_cast<std::size_t>(data.size()));
    if (engine == kDefaultEngineName || state().checker.findEngine(engine) > 0) {
        // An engine name the settings cannot hold leaves the stored one;
        // the run follows either way.
        (void)state().settings.setCurrentEngine(engine);
    }
    (void)state().settings.save();
    runAnalysis();
}

void ReportPage::setSelectorsEnabled(bool enabled) {
    keywordCombo_->setEnabled(enabled);
    engineCombo_->setEnabled(enabled);
    menuButton_->setEnabled(enabled);
    htmlReportButton_->setEnabled(enabled);
}

bool ReportPage::runAnalysis() {
    if (running()) return false;
    emit runStarted();
    setSelectorsEnabled(false);
    model_->clear();
    if (runner_->start(state())) return true;
    setSelectorsEnabled(true);
    emit runFinished();
    return false;
}

void ReportPage::onRunFinished() {
    const UserSettings& settings = state().settings;
    if (settings.fileCount() > 0) {
        if (settings.option(IntOption::AutosizeColumns) != 0) fitColumns();
        if (model_->rowCount() > 0) table_->selectRow(0);
    }
    setSelectorsEnabled(true);
    updateMenuState();
    if (settings.option(IntOption::AutoViewHtmlReport) != 0)
        showHtmlReport(this, state(), model_->list());
    emit runFinished();
}

bool ReportPage::running() const {
    return runner_->running();
}

void ReportPage::showConfusingResultsHelp() {
    showHelp(this, QStringLiteral("confusing-results.html"));
}

}  // namespace quorvel::app
