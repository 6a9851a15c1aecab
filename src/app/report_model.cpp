#include "app/report_model.h"

#include <QColor>
#include <QPalette>
#include <array>

#include "app/text_bytes.h"

// The program's pictures live in a static library, whose resources must be
// registered by name.
static void registerResources() {
    Q_INIT_RESOURCE(quorvel);
}

namespace quorvel::app {

namespace {

QString iconBaseName(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Warning:
            return QStringLiteral("warning");
        case ImportanceClass::Suggestion:
            return QStringLiteral("suggestion");
        case ImportanceClass::Tip:
            return QStringLiteral("tip");
        case ImportanceClass::Error:
            return QStringLiteral("error");
        case ImportanceClass::Separator:
            return QStringLiteral("separator");
    }
    return QStringLiteral("error");
}

QString bytesText(std::string_view bytes) {
    return textFromBytes(bytes);
}

}  // namespace

QIcon importanceIcon(ImportanceClass importance) {
    static std::array<QIcon, 5> icons;
    QIcon& icon = icons[static_cast<std::size_t>(importanceIconIndex(importance))];
    if (icon.isNull()) {
        static const bool registered = (registerResources(), true);
        (void)registered;
        const QString base = QStringLiteral(":/icons/report/") + iconBaseName(importance);
        icon.addFile(base + QStringLiteral(".png"), QSize(16, 16));
        icon.addFile(base + QStringLiteral(".svg"), QSize(32, 32));
        icon.addFile(base + QStringLiteral(".svg"), QSize(64, 64));
    }
    return icon;
}

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportModel::clear() {
    if (list_.empty()) return;
    beginResetModel();
    list_.clear();
    endResetModel();
}

void ReportModel::append(const QVector<ReportEntry>& entries) {
    if (entries.isEmpty()) return;
    const int first = list_.rowCount();
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    for (const ReportEntry& entry : entries)
        list_.appendEntry(entry);
    endInsertRows();
}

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.rowCount();
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kReportColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ReportEntry& entry = list_.row(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            if (role == Qt::ToolTipRole && index.column() != kDescriptionColumn) return {};
            return bytesText(reportCellText(entry, index.column()));
        case Qt::DecorationRole:
            if (index.column() == kImportanceColumn) return importanceIcon(entry.importanceClass);
            return {};
        case Qt::BackgroundRole:
            if (const auto colour = importanceRowColour(entry.importanceClass))
                return QColor(colour->red, colour->green, colour->blue);
            return {};
        case Qt::ForegroundRole:
            // The rows' own backgrounds are light, so their text is the
            // window text of a light palette whatever the desktop theme.
            if (importanceRowColour(entry.importanceClass)) return QColor(Qt::black);
            return {};
        default:
            return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kReportColumnCount) return {};
    return bytesText(reportColumnHeader(section));
}

}  // namespace quorvel::app
