// The baselines of bench/startup.sh: the least a Qt Widgets program does to
// show one window of the start window's size; with --text it also shows one
// line of text, so it loads the fonts as any window with a caption must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("veltra-bench-bare-window"));
    window.setFixedSize(342, 239); // the start window's client area
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        auto *caption = new QLabel(QStringLiteral("Ultrasonic Sensor Modbus Program"), &window);
        caption->move(32, 16);
    }
    window.show();
    return QApplication::exec();
}
