#include "inputerror.h"

#include <QMessageBox>

namespace veltra::ui {

void showInputError(QWidget *parent, const QString &prompt)
{
    QMessageBox box(QMessageBox::Question, QString(), prompt, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("InputError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace veltra::ui
