#include "form7.h"

#include "controls.h"
#include "noticecolors.h"

#include <QLabel>

namespace veltra {

using ui::Twips;

Form7::Form7(QWidget *parent)
    : QWidget(parent)
{
    ui::setUpWindow(this, QStringLiteral("Form7"), QStringLiteral("!!!"), 5970, 2280);

    const QFont titr = ui::font(QString::fromLatin1(ui::kTitr), 12, true);
    m_label2 = ui::makePersianLabel(this, QStringLiteral("Label2"), QStringLiteral("توجه رزولوشن سنسور به سانتيمترتغيير يافت"),
                                    Twips{1200, 240, 3975, 495}, titr);
    m_label3 = ui::makePersianLabel(this, QStringLiteral("Label3"), QStringLiteral("حتما تمام اندازه ها را به سانتيمتر تغيير دهيد"),
                                    Twips{1150, 1080, 3855, 495}, titr);
    for (QLabel *label : {m_label2, m_label3})
        ui::setTextColor(label, kNoticeDarkRed);
}

} // namespace veltra
