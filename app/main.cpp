// Program entry: the wizard's program block.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel shell(QStringLiteral("連動ﾃﾞｰﾀの作成"));
    shell.setWindowTitle(QStringLiteral("連動ﾃﾞｰﾀの作成"));
    shell.resize(480, 320);
    shell.show();
    return app.exec();
}
