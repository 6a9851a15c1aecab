#pragma once

// The report list as a table model: the core's rows with the class words,
// icons and row colours of the Report page.

#include <QAbstractTableModel>
#include <QIcon>
#include <QVector>

#include "report/report_entry.h"
#include "report/report_list.h"

namespace quorvel::app {

// The icon of an importance class: our own 16x16 pictures, drawn from SVG on
// screens with more pixels.
QIcon importanceIcon(ImportanceClass importance);

class ReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportModel(QObject* parent = nullptr);

    const ReportList& list() const { return list_; }
    void clear();
    // Appends rows at the end, in order.
    void append(const QVector<ReportEntry>& entries);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ReportList list_;
};

}  // namespace quorvel::app
