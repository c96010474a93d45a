// The soak: random edit commands (type, paste, cut, renumber, replace, undo, case, accents,
// save, reopen) on a generated program in the offscreen main window, built with ASan and UBSan
// (make soak). After each save the file is opened again and must give the text the save rule
// says. The heap in use after the run must stay within 10 % of the heap after the first 1,000
// commands (the resident size is printed beside it).
// Usage: tarmel_soak [commands=10000] [seed=1]; exit 0 when every check held.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "files/FileRules.h"
#include "platform/RichTextBox.h"
#include "tests/support/FakeServices.h"

#include <Qsci/qsciscintilla.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own allocator counts the bytes handed out (libasan exports it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace tarmel;

namespace {

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Bytes the program holds on its heap now: what a leak makes grow. The resident size also
// counts freed memory the allocator keeps, and caches filling up during the first commands.
long long heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return (long long)__sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return (long long)(info.uordblks + info.hblkhd);
#endif
}

QByteArray generatedProgram(int lines)
{
    QByteArray text("%\r\nO1000 (SOAK)\r\n");
    for (int n = 1; n <= lines; ++n)
        text += "N" + QByteArray::number(n * 10) + " G01 X" + QByteArray::number(n % 97) + ".5 Y-"
                + QByteArray::number(n % 13) + " F1200 (passe " + QByteArray::number(n) + ")\r\n";
    return text + "M30\r\n%\r\n";
}

class Soak {
public:
    Soak(quint32 seed) : rng_(seed)
    {
        fakes_.shell.programFolderPath = dir_.path();
        fakes_.shell.currentFolderPath = dir_.path();
        fakes_.messageBox.autoOk = true;
        fakes_.messageBox.onFailure = [this](const QString &message) {
            ++faults_;
            std::fprintf(stderr, "unexpected question: %s\n", qPrintable(message));
        };
        fakes_.recovery.folder = dir_.filePath(QStringLiteral("recovery"));
        main_ = std::make_unique<MDIForm1>(fakes_.services());
        main_->startUp({});
        file_ = dir_.filePath(QStringLiteral("soak.iso"));
        QFile f(file_);
        if (f.open(QIODevice::WriteOnly))
            f.write(generatedProgram(2000));
        f.close();
        open();
    }

    void run(int count)
    {
        long afterThousand = -1;
        long long heapAfterThousand = -1;
        for (int i = 1; i <= count && faults_ == 0; ++i) {
            const qsizetype before = doc() ? doc()->Text1->textLength() : 0;
            step();
            fakes_.messageBox.clear(); // its record of boxes is the fake's, not the program's
            QCoreApplication::processEvents();
            // Closed windows go at once, as they would when control returns to an event loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (qEnvironmentVariableIsSet("SOAK_TRACE") && doc() && doc()->Text1->textLength() < before - 100)
                std::printf("command %d (%d): %lld -> %lld characters\n", i, lastPick_, (long long)before,
                            (long long)doc()->Text1->textLength());
            if (i == 1000) {
                afterThousand = residentKb();
                heapAfterThousand = heapInUse();
            }
            if (i % 500 == 0) {
                std::printf("%6d commands: %lld characters, %lld windows, heap %lld kB, resident %ld kB\n", i,
                            (long long)(doc() ? doc()->Text1->textLength() : 0),
                            (long long)main_->documents().size(), heapInUse() / 1024, residentKb());
                std::fflush(stdout);
            }
        }
        const long end = residentKb();
        const long long heapEnd = heapInUse();
        std::printf("commands %d, saves checked %d, faults %d\n", count, saves_, faults_);
        if (afterThousand > 0) {
            const double growth = 100.0 * double(heapEnd - heapAfterThousand) / double(heapAfterThousand);
            std::printf("heap in use after 1,000 commands %lld kB, at the end %lld kB (%+.1f %%, limit +10 %%)\n",
                        heapAfterThousand / 1024, heapEnd / 1024, growth);
            std::printf("resident after 1,000 commands %ld kB, at the end %ld kB (%+.1f %%)\n", afterThousand, end,
                        100.0 * double(end - afterThousand) / double(afterThousand));
            if (growth > 10.0)
                ++faults_;
        }
    }
    int faults() const { return faults_; }

private:
    Form1 *doc() const { return main_->activeDocument(); }
    int below(int n) { return n > 0 ? int(rng_.bounded(n)) : 0; }
    // A menu item as the user chooses it: nothing happens while it is disabled.
    void run(const char *name)
    {
        if (QAction *item = main_->action(QString::fromUtf8(name)))
            item->trigger();
    }
    void click(const char *name)
    {
        if (auto *b = doc()->findChild<QAbstractButton *>(QString::fromLatin1(name)); b && b->isVisible())
            b->click();
    }
    void selectSome()
    {
        const qsizetype length = doc()->Text1->textLength();
        doc()->Text1->setSelStart(below(int(length + 1)));
        doc()->Text1->setSelLength(below(40));
    }
    QString randomText(int length)
    {
        static const QString chars = QStringLiteral("GMXYZNF0123456789 .-()");
        QString s;
        for (int i = 0; i < length; ++i)
            s += chars.at(below(int(chars.size())));
        return s;
    }
    // The routine "&Ouvrir" ends in (the fake dialog would keep a record of every opening).
    void open() { main_->OpenFile(file_); }

    void step()
    {
        if (!doc())
            open();
        const int pick = below(100);
        lastPick_ = pick;
        if (pick < 30) { // type, sometimes a new line
            doc()->Text1->setSelStart(below(int(doc()->Text1->textLength() + 1)));
            QTest::keyClicks(doc()->Text1->engine(), randomText(1 + below(8)));
            if (below(4) == 0)
                QTest::keyClick(doc()->Text1->engine(), Qt::Key_Return);
        } else if (pick < 40) {
            fakes_.clipboard.setText(randomText(5) + QStringLiteral("\nN9 ") + randomText(4));
            selectSome();
            run("Mnu_Edition(6)");
        } else if (pick < 45) {
            selectSome();
            run("Mnu_Edition(4)");
        } else if (pick < 50) {
            run("Mnu_Renumeroter");
            click("Command6");
            click("Command7");
        } else if (pick < 55) {
            run("Mnu_Remplacer");
            if (auto *from = doc()->findChild<QLineEdit *>(QStringLiteral("Text3")))
                from->setText(below(2) ? QStringLiteral("G01") : QStringLiteral("X1"));
            if (auto *to = doc()->findChild<QLineEdit *>(QStringLiteral("Text4")))
                to->setText(below(2) ? QStringLiteral("G1") : QStringLiteral("X01"));
            click("replaceAllButton");
            click("Command5");
        } else if (pick < 65) {
            run("Mnu_Annuler");
        } else if (pick < 72) {
            selectSome();
            static const char *const cases[] = {"Mnu_Majuscule", "Mnu_Minuscule", "Mnu_MajusculeHorsCommentaires"};
            run(cases[below(3)]);
        } else if (pick < 77) {
            doc()->Text1->setSelStart(below(int(doc()->Text1->textLength() + 1)));
            doc()->Text1->setSelText(QStringLiteral("(é à ç Ê)"));
            run("Mnu_SupprimAccents");
        } else if (pick < 92) {
            saveAndCheck();
        } else {
            saveAndCheck();
            run("Mnu_Nouveau"); // another window, so that "&Fermer" can close this one
            main_->activateDocument(main_->documents().first());
            run("Mnu_Close");
            open();
            for (Form1 *other : main_->documents())
                if (other != doc() && !other->Change)
                    main_->closeDocument(other);
        }
    }

    // The file opens again to the text the save rule gives (one final line end added when the
    // text lacks one).
    void saveAndCheck()
    {
        Form1 *saved = doc();
        if (!saved->Change)
            return;
        run("Mnu_Enregistrer");
        if (saved->Change) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(fakes_.messageBox.boxes().isEmpty()
                                                                      ? QString()
                                                                      : fakes_.messageBox.last().text));
            ++faults_;
            return;
        }
        const FileFormat format = saved->Text1->fileFormat();
        const QByteArray expected = decodeToUtf8(plainFileBytes(saved->Text1->utf8(), format).bytes).utf8;
        open();
        Form1 *reopened = doc();
        if (reopened == saved || reopened->Text1->utf8() != expected) {
            std::fprintf(stderr, "save %d does not reopen to the same text\n", saves_ + 1);
            ++faults_;
        }
        main_->closeDocument(reopened);
        main_->activateDocument(saved);
        ++saves_;
    }

    QTemporaryDir dir_;
    testsupport::FakeServices fakes_;
    std::unique_ptr<MDIForm1> main_;
    QString file_;
    QRandomGenerator rng_;
    int faults_ = 0;
    int saves_ = 0;
    int lastPick_ = -1;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const quint32 seed = argc > 2 ? quint32(std::atoi(argv[2])) : 1;
    std::printf("soak: %d commands, seed %u\n", count, seed);
    Soak soak(seed);
    soak.run(count);
    return soak.faults() == 0 ? 0 : 1;
}
