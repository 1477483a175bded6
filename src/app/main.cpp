#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("VORDELL(港湾版) Ver7.800"));
    label.show();
    return app.exec();
}
