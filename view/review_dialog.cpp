// The write review: the lines "Save" would send, in sending order, in a table. A row is
// reverted by its check box; "Save now" saves after the reverts, "Close" only reverts.
#include <QApplication>
#include <QBrush>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "view/mirror_widgets.h"
#include "view/qt_dialogs.h"

namespace view {

namespace {

enum Column { kRevert, kPage, kLabel, kUnit, kNew, kLine, kStatus, kColumns };

QTableWidgetItem* Cell(const std::string& text, bool sent) {
    auto* item = new QTableWidgetItem(Q(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!sent) item->setForeground(QBrush(Qt::darkRed));
    return item;
}

}  // namespace

QTableWidget* MakeReviewTable(const std::vector<platform::ReviewRow>& rows,
                              const platform::ReviewTexts& texts, QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(rows.size()), kColumns, parent);
    table->setObjectName(QStringLiteral("reviewTable"));
    table->setHorizontalHeaderLabels({Q(texts.revert), Q(texts.page), Q(texts.label),
                                      Q(texts.unitValue), Q(texts.newValue), Q(texts.line),
                                      Q(texts.status)});
    table->verticalHeader()->setVisible(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const platform::ReviewRow& row = rows[static_cast<size_t>(r)];
        auto* revert = new QTableWidgetItem;
        if (row.sent) {
            // Space toggles it from the keyboard, a tap on a touch screen.
            revert->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            revert->setCheckState(Qt::Unchecked);
            revert->setData(Qt::AccessibleTextRole, Q(texts.revert + " " + row.label));
        } else {
            revert->setFlags(Qt::ItemIsEnabled);
        }
        table->setItem(r, kRevert, revert);
        table->setItem(r, kPage, Cell(row.page, row.sent));
        table->setItem(r, kLabel, Cell(row.label, row.sent));
        table->setItem(r, kUnit, Cell(row.unitValue, row.sent));
        table->setItem(r, kNew, Cell(row.newValue, row.sent));
        table->setItem(r, kLine, Cell(row.line, row.sent));
        table->setItem(r, kStatus, Cell(row.sent ? texts.sent : row.reason, row.sent));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

std::vector<std::size_t> CheckedReverts(const QTableWidget& table) {
    std::vector<std::size_t> checked;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QTableWidgetItem* item = table.item(r, kRevert);
        if (item && item->checkState() == Qt::Checked) checked.push_back(static_cast<size_t>(r));
    }
    return checked;
}

platform::ReviewChoice QtDialogs::ShowWriteReview(const std::vector<platform::ReviewRow>& rows,
                                                  const platform::ReviewTexts& texts) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(Q(texts.title));
    auto* layout = new QVBoxLayout(&dialog);
    if (rows.empty()) layout->addWidget(new QLabel(Q(texts.empty)));
    QTableWidget* table = MakeReviewTable(rows, texts, &dialog);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox;
    QPushButton* save = buttons->addButton(Q(texts.save), QDialogButtonBox::AcceptRole);
    buttons->addButton(Q(texts.close), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    save->setDefault(true);
    dialog.resize(980, 420);
    const bool saveNow = dialog.exec() == QDialog::Accepted;
    return {CheckedReverts(*table), saveNow};
}

}  // namespace view
