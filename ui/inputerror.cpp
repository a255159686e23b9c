#include "inputerror.h"

#include "language.h"

#include <QMessageBox>

namespace veltra::ui {

void showInputError(QWidget *parent, const QString &prompt)
{
    QMessageBox box(QMessageBox::Question, QString(), shown(prompt), QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("InputError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace veltra::ui
