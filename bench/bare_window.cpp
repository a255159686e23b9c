// The baseline of bench/startup.sh: the least a Qt Widgets program does to
// show one window of the start window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("veltra-bench-bare-window"));
    window.setFixedSize(342, 239); // the start window's client area
    window.show();
    return QApplication::exec();
}
