#include "unitnotice.h"

#include "controls.h"

#include <QLabel>

namespace veltra {

using ui::Twips;

namespace {

// The dark red of the warnings.
constexpr QColor kDarkRed(128, 0, 0);

struct NoticeLine {
    const char *name;
    const char16_t *text;
    Twips at;
    const char *meaning; // in English
};

// Each unit's notice as its designer laid it out.
struct NoticeLayout {
    const char *name;
    int widthTwips;
    NoticeLine changed;
    NoticeLine changeAll;
};

constexpr NoticeLayout kCentimetre{
    "Form7",
    5970,
    {"Label2", u"توجه رزولوشن سنسور به سانتيمترتغيير يافت", Twips{1200, 240, 3975, 495},
     "Attention: the sensor's resolution has been changed to centimetres."},
    {"Label3", u"حتما تمام اندازه ها را به سانتيمتر تغيير دهيد", Twips{1150, 1080, 3855, 495},
     "Be sure to change all the distances to centimetres."},
};

constexpr NoticeLayout kMillimetre{
    "Form8",
    5400,
    {"Label1", u"توجه رزولوشن سنسور به ميليمتر تغيير يافت", Twips{840, 240, 3975, 495},
     "Attention: the sensor's resolution has been changed to millimetres."},
    {"Label2", u"حتما تمام اندازه ها را به ميليمتر تغيير دهيد", Twips{820, 1080, 3855, 495},
     "Be sure to change all the distances to millimetres."},
};

QLabel *makeLine(QWidget *parent, const NoticeLine &line)
{
    QLabel *label = ui::makePersianLabel(parent, QLatin1String(line.name), QString::fromUtf16(line.text), line.at,
                                         ui::font(QString::fromLatin1(ui::kTitr), 12, true));
    ui::setTextColor(label, kDarkRed);
    ui::explainInEnglish({label}, QString::fromLatin1(line.meaning));
    return label;
}

} // namespace

UnitNotice::UnitNotice(Unit unit, QWidget *parent)
    : QWidget(parent)
    , m_unit(unit)
{
    const NoticeLayout &layout = unit == Unit::Centimetre ? kCentimetre : kMillimetre;
    ui::setUpWindow(this, QLatin1String(layout.name), QStringLiteral("!!!"), layout.widthTwips, 2280);
    m_changedLine = makeLine(this, layout.changed);
    m_changeAllLine = makeLine(this, layout.changeAll);
}

} // namespace veltra
