#include "controls.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include <algorithm>

namespace veltra::ui {

bool holdsPolishWhileHidden(const QWidget *window, const QEvent *event)
{
    return event->type() == QEvent::PolishRequest && !window->isVisible();
}

namespace {

template <typename W>
W *named(W *control, const QString &name, const QFont &font)
{
    control->setObjectName(name);
    control->setFont(font);
    return control;
}

} // namespace

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const Twips &at, const QFont &font)
{
    auto *label = named(new QLabel(text, parent), name, font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, at);
    return label;
}

QLabel *makePersianLabel(QWidget *parent, const QString &name, const QString &text, const Twips &at, const QFont &font)
{
    QLabel *label = makeLabel(parent, name, text, at, font);
    label->setLayoutDirection(Qt::RightToLeft);
    // Absolute, or right to left would mirror it to the left edge.
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    return label;
}

void keepCaptionsOffFields(QWidget *window)
{
    if (!QGuiApplication::isRightToLeft())
        return;
    constexpr int kGap = 3;
    const auto labels = window->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        // Captions aligned to the leading edge: in right to left, the right.
        if (label->text().isEmpty() || (label->alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft)
            continue;
        const QRect box = label->geometry();
        for (QWidget *field : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLineEdit *>(field) && !qobject_cast<QComboBox *>(field))
                continue;
            const QRect at = field->geometry();
            if (at.intersects(box) && at.left() > box.left() && at.left() <= box.right())
                label->setIndent(std::max(label->indent(), box.right() - at.left() + 1 + kGap));
        }
    }
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const Twips &at, const QFont &font)
{
    auto *button = named(new QPushButton(text, parent), name, font);
    button->setAutoDefault(false);
    place(button, at);
    return button;
}

QComboBox *makeComboBox(QWidget *parent, const QString &name, const Twips &at, bool editable, const QFont &font)
{
    return setUpComboBox(new QComboBox(parent), name, at, editable, font);
}

QComboBox *setUpComboBox(QComboBox *box, const QString &name, const Twips &at, bool editable, const QFont &font)
{
    named(box, name, font);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    place(box, at);
    return box;
}

QLineEdit *makeTextBox(QWidget *parent, const QString &name, const Twips &at, const QFont &font)
{
    auto *field = named(new QLineEdit(parent), name, font);
    place(field, at);
    return field;
}

void appendItems(QComboBox *box, const QStringList &items)
{
    const int index = box->currentIndex();
    const QString text = box->currentText();
    box->addItems(items);
    box->setCurrentIndex(index);
    if (box->isEditable())
        box->setEditText(text);
}

QLineEdit *makeHiddenField(QWidget *parent, const QString &name, const QString &designText)
{
    auto *field = new QLineEdit(designText, parent);
    field->setObjectName(name);
    field->setVisible(false);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QFrame *makeLine(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips, int widthPx)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(widthPx);
    line->setMidLineWidth(0);
    const int x1 = px(std::min(fromTwips.x(), toTwips.x()));
    const int x2 = px(std::max(fromTwips.x(), toTwips.x()));
    const int y1 = px(std::min(fromTwips.y(), toTwips.y()));
    const int y2 = px(std::max(fromTwips.y(), toTwips.y()));
    const int half = (widthPx - 1) / 2;
    if (y1 == y2) {
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(x1, y1 - half, x2 - x1 + 1, widthPx);
    } else {
        line->setFrameShape(QFrame::VLine);
        line->setGeometry(x1 - half, y1, widthPx, y2 - y1 + 1);
    }
    return line;
}

void setTextColor(QWidget *control, const QColor &color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    control->setPalette(palette);
}

void setBackground(QLineEdit *field, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

QColor menuColour()
{
    return QApplication::palette("QMenu").color(QPalette::Window);
}

QColor scrollBarColour()
{
    return QApplication::palette("QScrollBar").color(QPalette::Mid);
}

} // namespace veltra::ui

namespace veltra::ui {

void nameForScreenReaders(std::initializer_list<SpokenName> names)
{
    for (const SpokenName &spoken : names) {
        const QString name = QCoreApplication::translate("ScreenReader", spoken.name);
        spoken.control->setAccessibleName(name);
        // On Linux a combo box's name is its value; the text an operator
        // types into an editable one carries the name too.
        if (auto *box = qobject_cast<QComboBox *>(spoken.control); box && box->lineEdit())
            box->lineEdit()->setAccessibleName(name);
    }
}

void explainInEnglish(std::initializer_list<QWidget *> parts, const QString &meaning)
{
    // A program speaking Persian needs no English gloss on its Persian texts.
    if (QGuiApplication::layoutDirection() == Qt::RightToLeft)
        return;
    for (QWidget *part : parts) {
        part->setToolTip(meaning);
        part->setAccessibleDescription(meaning);
    }
}

QPixmap picture(const QWidget *window, const QString &path)
{
    const QPixmap plain(path);
    const qreal ratio = window->devicePixelRatioF();
    if (ratio <= 1.0 || plain.isNull())
        return plain;
    QString larger = path;
    larger.insert(larger.lastIndexOf(u'.'), QStringLiteral("@2x"));
    const QImage drawn(larger);
    if (drawn.isNull())
        return plain;
    QPixmap scaled
        = QPixmap::fromImage(drawn.scaled(plain.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

} // namespace veltra::ui
