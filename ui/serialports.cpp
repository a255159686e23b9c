#include "serialports.h"

#include "language.h"
#include "menubar.h"
#include "portlist.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veltra::ui {

namespace {

constexpr int kDetailsRole = Qt::UserRole + 1;

QString adapterText(const PortEntry &port)
{
    QStringList parts;
    for (const QString &part : {port.description, port.manufacturer, port.vendorProductId})
        if (!part.isEmpty())
            parts << part;
    if (!port.serialNumber.isEmpty())
        parts << QCoreApplication::translate("SerialPorts", "serial %1").arg(port.serialNumber);
    return parts.join(QStringLiteral(", "));
}

// Shows an item's number and, after it, its details; the item's own text
// (what the box takes when the item is picked) stays the number.
class PortDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString details = index.data(kDetailsRole).toString();
        if (!details.isEmpty())
            option->text += QStringLiteral("   ") + details;
    }
};

} // namespace

PortBox::PortBox(QWidget *parent)
    : QComboBox(parent)
{
    view()->setItemDelegate(new PortDelegate(view()));
}

void PortBox::showPopup()
{
    refreshDetails();
    QComboBox::showPopup();
}

void PortBox::refreshDetails()
{
    for (int i = 0; i < count(); ++i)
        setItemData(i, QVariant(), kDetailsRole);
    const QFontMetrics metrics(view()->font());
    int widest = width();
    for (const PortEntry &port : listPorts(count())) {
        const int index = findText(QString::number(port.number));
        if (index < 0)
            continue;
        const QString adapter = adapterText(port);
        const QString details = adapter.isEmpty() ? port.device : port.device + QStringLiteral("  ") + adapter;
        setItemData(index, details, kDetailsRole);
        widest = qMax(widest, metrics.horizontalAdvance(itemText(index) + QStringLiteral("   ") + details) + 40);
    }
    // The list may be wider than the box, never narrower.
    view()->setMinimumWidth(widest);
}

QString PortBox::detailsAt(int index) const
{
    return itemData(index, kDetailsRole).toString();
}

QDialog *showSerialPorts(QWidget *parent, int count)
{
    const QList<PortEntry> ports = listPorts(count);

    auto *dialog = new QDialog(parent);
    closeWithKeys(dialog);
    dialog->setObjectName(QStringLiteral("SerialPorts"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QCoreApplication::translate("SerialPorts", "Serial Ports"));

    auto *table = new QTableWidget(int(ports.size()), 6, dialog);
    table->setObjectName(QStringLiteral("SerialPortsTable"));
    table->setHorizontalHeaderLabels({QCoreApplication::translate("SerialPorts", "Port"),
                                      QCoreApplication::translate("SerialPorts", "Device"),
                                      QCoreApplication::translate("SerialPorts", "Description"),
                                      QCoreApplication::translate("SerialPorts", "Manufacturer"),
                                      QCoreApplication::translate("SerialPorts", "USB id"),
                                      QCoreApplication::translate("SerialPorts", "Serial number")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < int(ports.size()); ++r) {
        const PortEntry &port = ports.at(r);
        const QString cells[] = {QString::number(port.number), port.device,      port.description, port.manufacturer,
                                 port.vendorProductId,         port.serialNumber};
        for (int c = 0; c < 6; ++c)
            table->setItem(r, c, new QTableWidgetItem(leftToRightInside(cells[c])));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(
        ports.isEmpty()
            ? QCoreApplication::translate("SerialPorts", "No serial port is known to the system.")
            : QCoreApplication::translate("SerialPorts", "The port numbers and what stands behind them now."),
        dialog));
    layout->addWidget(table);
    // Every column and row in view at the font in use.
    const int rowHeight = table->verticalHeader()->defaultSectionSize();
    dialog->resize(std::max(640, table->horizontalHeader()->length() + 2 * table->frameWidth() + 40),
                   std::max(150, 4 * rowHeight + rowHeight * int(ports.size())));
    dialog->show();
    return dialog;
}

} // namespace veltra::ui
