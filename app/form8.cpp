#include "form8.h"

#include "controls.h"
#include "noticecolors.h"

#include <QLabel>

namespace veltra {

using ui::Twips;

Form8::Form8(QWidget *parent)
    : QWidget(parent)
{
    ui::setUpWindow(this, QStringLiteral("Form8"), QStringLiteral("!!!"), 5400, 2280);

    const QFont titr = ui::font(QString::fromLatin1(ui::kTitr), 12, true);
    m_label1 = ui::makePersianLabel(this, QStringLiteral("Label1"), QStringLiteral("توجه رزولوشن سنسور به ميليمتر تغيير يافت"),
                                    Twips{840, 240, 3975, 495}, titr);
    m_label2 = ui::makePersianLabel(this, QStringLiteral("Label2"), QStringLiteral("حتما تمام اندازه ها را به ميليمتر تغيير دهيد"),
                                    Twips{820, 1080, 3855, 495}, titr);
    for (QLabel *label : {m_label1, m_label2})
        ui::setTextColor(label, kNoticeDarkRed);
}

} // namespace veltra
