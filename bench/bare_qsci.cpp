// A bare editor window, written as simply as one would: read a Windows-1252 file, decode it, set the
// text of a QScintilla editor, the title to the file name and a status label to the size. The floor
// of the end-to-end opening measure (bench/e2e_open.py).
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QStringDecoder>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    QMainWindow window;
    auto *editor = new QsciScintilla(&window);
    window.setCentralWidget(editor);
    auto *size = new QLabel(&window);
    window.statusBar()->addWidget(size);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    QStringDecoder decode("windows-1252");
    const QString text = decode(bytes);
    editor->setText(text);
    window.setWindowTitle(QFileInfo(path).fileName());
    size->setText(QStringLiteral("%1 octets").arg(bytes.size()));
    window.resize(1000, 800);
    window.show();
    return app.exec();
}
