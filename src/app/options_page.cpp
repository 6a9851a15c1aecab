#include "app/options_page.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "app/text_bytes.h"
#include "app/tooltips.h"

namespace quorvel::app {

namespace {

constexpr int kMinWordLengthLimit = 10;

// The five program fields in page order: label, setting, object names.
struct ProgramField {
    const char* label;
    TextOption option;
    const char* editName;
    const char* buttonName;
};
constexpr ProgramField kProgramFields[] = {
    {"Browser:", TextOption::OpenRunApplication, "browserEdit", "browserBrowseButton"},
    {"HTML Editor:", TextOption::EditRunApplication, "htmlEditorEdit", "htmlEditorBrowseButton"},
    {"Text Editor:", TextOption::EditTextRunApplication, "textEditorEdit",
     "textEditorBrowseButton"},
    {"UserTool 1:", TextOption::UserRunApplication1, "userTool1Edit", "userTool1BrowseButton"},
    {"UserTool 2:", TextOption::UserRunApplication2, "userTool2Edit", "userTool2BrowseButton"},
};

QCheckBox* makeCheckBox(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(QString(text).remove(u'&'));
    return box;
}

int checked(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

}  // namespace

OptionsPage::OptionsPage(AppState& state, QWidget* parent) : SheetPage(state, parent) {
    enableToolTips_ = makeCheckBox(tr("Enable Tooltips"), "enableToolTipsCheck", this);
    autosizeColumns_ =
        makeCheckBox(tr("Autosize Report Dialog Columns"), "autosizeColumnsCheck", this);

    auto* tools =
        new QGroupBox(tr(" Select Your Preferred Tools To Launch Within The Program "), this);
    tools->setObjectName(QStringLiteral("toolsGroup"));
    auto* toolsGrid = new QGridLayout(tools);
    QList<QWidget*> order{enableToolTips_, autosizeColumns_};
    for (std::size_t i = 0; i < std::size(kProgramFields); ++i) {
        const ProgramField& field = kProgramFields[i];
        auto* edit = new QLineEdit(tools);
        edit->setObjectName(QLatin1String(field.editName));
        edit->setMaxLength(static_cast<int>(ProfileFile::kMaxValue));
        auto* label = new QLabel(tr(field.label), tools);
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        auto* browse = new QPushButton(tr("Browse ..."), tools);
        browse->setObjectName(QLatin1String(field.buttonName));
        browse->setAccessibleName(browse->text() + u' ' + label->text().chopped(1));
        browse->setAutoDefault(false);
        toolsGrid->addWidget(label, static_cast<int>(i), 0);
        toolsGrid->addWidget(edit, static_cast<int>(i), 1);
        toolsGrid->addWidget(browse, static_cast<int>(i), 2);
        programs_[i] = edit;
        order << edit << browse;
        const int index = static_cast<int>(i);
        connect(browse, &QPushButton::clicked, this, [this, index] { browseProgram(index); });
    }

    auto* misc = new QGroupBox(tr(" Miscellaneous "), this);
    misc->setObjectName(QStringLiteral("miscellaneousGroup"));
    autoViewHtmlReport_ =
        makeCheckBox(tr("Automatically run the browser with the HTML detailed report"),
                     "autoViewHtmlReportCheck", misc);
    auto* miscLayout = new QVBoxLayout(misc);
    miscLayout->addWidget(autoViewHtmlReport_);

    auto* analysis = new QGroupBox(tr(" Analysis "), this);
    analysis->setObjectName(QStringLiteral("analysisGroup"));
    killTerminatingS_ =
        makeCheckBox(tr("Do not consider the final 's' of any word while matching keywords."),
                     "killTerminatingSCheck", analysis);
    skipShortWords_ =
        makeCheckBox(tr("Skip words whose length is less than"), "skipShortWordsCheck", analysis);
    minWordLength_ = new QSpinBox(analysis);
    minWordLength_->setObjectName(QStringLiteral("minWordLengthSpin"));
    minWordLength_->setRange(0, kMinWordLengthLimit);
    minWordLength_->setAccessibleName(tr("Minimum word length"));
    auto* shortWordsRow = new QHBoxLayout;
    shortWordsRow->addWidget(skipShortWords_);
    shortWordsRow->addWidget(minWordLength_);
    shortWordsRow->addStretch(1);
    auto* analysisLayout = new QVBoxLayout(analysis);
    analysisLayout->addWidget(killTerminatingS_);
    analysisLayout->addLayout(shortWordsRow);
    order << autoViewHtmlReport_ << killTerminatingS_ << skipShortWords_ << minWordLength_;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enableToolTips_);
    layout->addWidget(autosizeColumns_);
    layout->addWidget(tools);
    layout->addWidget(misc);
    layout->addWidget(analysis);
    layout->addStretch(1);

    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(enableToolTips_, &QCheckBox::clicked, this, &OptionsPage::onToolTipsClicked);
    connect(skipShortWords_, &QCheckBox::toggled, this, &OptionsPage::updateMinWordLengthEnabled);
}

void OptionsPage::enterPage() {
    const UserSettings& settings = state().settings;
    enableToolTips_->setChecked(settings.option(IntOption::EnableToolTips) != 0);
    autosizeColumns_->setChecked(settings.option(IntOption::AutosizeColumns) != 0);
    for (std::size_t i = 0; i < programs_.size(); ++i)
        programs_[i]->setText(textFromBytes(settings.option(kProgramFields[i].option)));
    autoViewHtmlReport_->setChecked(settings.option(IntOption::AutoViewHtmlReport) != 0);
    killTerminatingS_->setChecked(settings.option(IntOption::KillTeminatingS) != 0);
    skipShortWords_->setChecked(settings.option(IntOption::SkipShortWords) != 0);
    minWordLength_->setValue(settings.option(IntOption::MinWordLength));
    updateMinWordLengthEnabled();
}

bool OptionsPage::leavePage() {
    UserSettings& settings = state().settings;
    // Text typed into the number field that is not yet taken counts, within 0..10.
    minWordLength_->interpretText();
    settings.setOption(IntOption::EnableToolTips, checked(enableToolTips_));
    settings.setOption(IntOption::AutosizeColumns, checked(autosizeColumns_));
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        const TextOption option = kProgramFields[i].option;
        if (!settings.setOption(option,
                                bytesFromText(programs_[i]->text(), settings.option(option))))
            MessageBox::error(this, QStringLiteral("Error Message - Quorvel"),
                              tr("The text is too long to be stored in the settings file."));
    }
    settings.setOption(IntOption::AutoViewHtmlReport, checked(autoViewHtmlReport_));
    settings.setOption(IntOption::KillTeminatingS, checked(killTerminatingS_));
    settings.setOption(IntOption::SkipShortWords, checked(skipShortWords_));
    settings.setOption(IntOption::MinWordLength, minWordLength_->value());
    (void)settings.save();
    return true;
}

void OptionsPage::browseProgram(int field) {
    if (field < 0 || field >= static_cast<int>(programs_.size())) return;
    QLineEdit* edit = programs_[static_cast<std::size_t>(field)];
    const QString current = edit->text();
    const QString start =
        current.isEmpty() ? QStringLiteral("/usr/bin") : QFileInfo(current).path();
    const QString chosen =
        FileDialog::openFileName(this, tr("Select the Program to Run"), start, tr("All Files (*)"));
    if (!chosen.isEmpty()) edit->setText(chosen);
}

void OptionsPage::onToolTipsClicked(bool isChecked) {
    UserSettings& settings = state().settings;
    settings.setOption(IntOption::EnableToolTips, isChecked ? 1 : 0);
    (void)settings.save();
    setToolTipsEnabled(isChecked);
}

void OptionsPage::updateMinWordLengthEnabled() {
    minWordLength_->setEnabled(skipShortWords_->isChecked());
}

}  // namespace quorvel::app
