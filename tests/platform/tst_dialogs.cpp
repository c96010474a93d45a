// The real message box, file dialogs and font dialog, answered from inside their own event loops.
#include "platform/CommonDialog.h"
#include "platform/FontDialog.h"
#include "platform/MessageBox.h"
#include "tests/platform/ModalDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using platform::QtCommonDialog;
using testsupport::OnModal;

static const QString filter = QStringLiteral("Fichiers CN (*.iso)|*.iso|Fichiers CN (*.txt)|*.txt|Tous les fichiers (*.*)|*.*");

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void answers_data()
    {
        QTest::addColumn<int>("flags"); QTest::addColumn<int>("icon"); QTest::addColumn<QString>("attempt");
        QTest::addColumn<bool>("stillOpen"); // after the attempt; then answered by its Oui button
        QTest::addColumn<int>("answer");
        // Enter presses the default button.
        QTest::newRow("16 critical") << 16 << int(QMessageBox::Critical) << "Enter" << false << 1;
        QTest::newRow("320 information, button 2 on OK only") << 320 << int(QMessageBox::Information) << "Enter" << false << 1;
        QTest::newRow("36 question") << 36 << int(QMessageBox::Question) << "Enter" << false << 6;
        QTest::newRow("292 question, No default") << 292 << int(QMessageBox::Question) << "Enter" << false << 7;
        // Only the buttons (mnemonics included) answer a box without OK.
        QTest::newRow("Yes/No, Escape") << 36 << int(QMessageBox::Question) << "Escape" << true << 6;
        QTest::newRow("Yes/No, window close button") << 4 << int(QMessageBox::NoIcon) << "close" << true << 6;
        QTest::newRow("Yes/No, reject") << 292 << int(QMessageBox::Question) << "reject" << true << 6;
        QTest::newRow("48 exclamation, OK, Escape") << 48 << int(QMessageBox::Warning) << "Escape" << false << 1;
        QTest::newRow("Yes/No, Alt+N") << 36 << int(QMessageBox::Question) << "Alt+N" << false << 7;
    }

    // The box shows the flags' icon and buttons, and the text with each CR, LF or CR LF
    // (the program joins lines with them) as one line break.
    void answers()
    {
        QFETCH(int, flags); QFETCH(int, icon); QFETCH(QString, attempt); QFETCH(bool, stillOpen); QFETCH(int, answer);
        QStringList seen;
        bool open = false;
        OnModal<QMessageBox> driver([&](QMessageBox *box) {
            QApplication::setActiveWindow(box);
            seen << QString::number(box->icon()) << box->windowTitle() << box->text();
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            QCloseEvent close; // what the window manager's close button delivers
            if (attempt == "Enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (attempt == "Escape")
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            else if (attempt == "close")
                QCoreApplication::sendEvent(box->windowHandle(), &close);
            else if (attempt == "reject")
                box->reject();
            else
                QTest::keyClick(box, attempt == "Alt+N" ? Qt::Key_N : Qt::Key_O, Qt::AltModifier);
            // A mnemonic shows its button pressed, and releases it a moment later.
            const QList<QAbstractButton *> buttons = box->buttons();
            open = box->isVisible() && std::none_of(buttons.begin(), buttons.end(), [](auto *b) { return b->isDown(); });
            if (open)
                buttons.constFirst()->click();
        });
        const int result = platform::QtMessageBox().show("ligne 1\rligne 2\r\n\r\nligne 4\n\rfin\r", flags, "Tarmel");
        QVERIFY(driver.ran);
        const QStringList buttons = (flags & 15) == 4 ? QStringList{"&Oui", "&Non"} : QStringList{"OK"};
        QCOMPARE(seen, QStringList({QString::number(icon), "Tarmel", "ligne 1\nligne 2\n\nligne 4\n\nfin\n"}) + buttons);
        QCOMPARE(QList<int>({open, result}), QList<int>({stillOpen, answer}));
    }

    void filters_data()
    {
        QTest::addColumn<QString>("filter"); QTest::addColumn<int>("filterIndex"); QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("row"); // preselected
        QTest::newRow("empty") << "" << 1 << QStringList() << 0;
        QTest::newRow("every file is *") << "Tous (*.*)|*.*" << 0 << QStringList{"Tous (*.*) (*)"} << 0;
        QTest::newRow("pattern list") << "CN|*.iso;*.*; *.xcn" << 1 << QStringList{"CN (*.iso * *.xcn)"} << 0;
        QTest::newRow("missing last pattern, last row") << "A|*.a|B" << 2 << QStringList{"A (*.a)", "B (*)"} << 1;
        QTest::newRow("empty label, past the end") << "|*.iso" << 2 << QStringList{"*.iso (*.iso)"} << 0;
    }

    void filters()
    {
        QFETCH(QString, filter); QFETCH(int, filterIndex); QFETCH(QStringList, shown); QFETCH(int, row);
        QCOMPARE(platform::qtNameFilters(filter), shown);
        QCOMPARE(platform::filterRowForIndex(filterIndex, int(shown.size())), row);
    }

    void fileDialog_data()
    {
        QTest::addColumn<bool>("save"); QTest::addColumn<bool>("cancelError"); QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("typed"); // empty: Cancel
        QTest::addColumn<bool>("asked"); // before overwriting
        QTest::newRow("open, chosen") << false << true << 0 << "noext" << false;
        QTest::newRow("open, Cancel raises") << false << true << 0 << "" << false;
        QTest::newRow("save, Cancel returns") << true << false << 0 << "" << false;
        QTest::newRow("save over a file, flag 2 asks") << true << true << 2 << "a.iso" << true;
        QTest::newRow("save over a file, no flag") << true << true << 0 << "a.iso" << false;
    }

    // The dialog opens with the title, the filter and the preset file, a bare name being in
    // the current folder. The user types a name under "Tous les fichiers (*.*)": it comes
    // back, with the filter 1-based; Cancel leaves every property as it was.
    void fileDialog()
    {
        QFETCH(bool, save); QFETCH(bool, cancelError); QFETCH(int, flags); QFETCH(QString, typed); QFETCH(bool, asked);
        QTemporaryDir dir;
        for (const char *name : {"a.iso", "b.txt", "noext"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QtCommonDialog dialog;
        auto &p = dialog.props();
        p = {"b.txt", "b.txt", "Titre", filter, 2, flags, cancelError};
        QStringList seen;
        OnModal<QFileDialog> driver([&](QFileDialog *d) {
            seen << d->windowTitle() << d->findChild<QComboBox *>("fileTypeCombo")->currentText()
                 << d->directory().absolutePath() << d->selectedFiles().value(0);
            d->selectNameFilter(platform::qtNameFilters(filter).at(2));
            // The name typed, nothing being selected in the file list (a file selected there would win).
            for (QAbstractItemView *view : d->findChildren<QAbstractItemView *>())
                if (view->selectionModel())
                    view->clearSelection();
            d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
            typed.isEmpty() ? d->reject() : static_cast<QDialog *>(d)->accept();
        });
        bool prompted = false;
        OnModal<QMessageBox> prompt([&](QMessageBox *box) { prompted = true, box->button(QMessageBox::Yes)->click(); });
        const bool shown = save ? dialog.showSave() : dialog.showOpen();
        QDir::setCurrent(before);
        QCOMPARE(QList<bool>({shown, prompted}), QList<bool>({!typed.isEmpty() || !cancelError, asked}));
        const QString folder = QDir(dir.path()).absolutePath();
        QCOMPARE(seen, QStringList({"Titre", "Fichiers CN (*.txt)", folder, folder + "/b.txt"}));
        const QStringList chosen = typed.isEmpty() ? QStringList{"b.txt", "b.txt", "2"} : QStringList{folder + '/' + typed, typed, "3"};
        QCOMPARE(QStringList({p.FileName, p.FileTitle, QString::number(p.FilterIndex)}), chosen);
    }

    // The font dialog opens on the preset font and colour; what the user chose comes back:
    // name, size, the four styles and the colour. Cancel leaves every property as it was.
    void fontDialog_data()
    {
        QTest::addColumn<bool>("accept"); QTest::addColumn<bool>("cancelError");
        QTest::addColumn<QString>("color");   // the list entry chosen
        QTest::addColumn<QColor>("preset");
        QTest::newRow("chosen, a listed colour") << true << true << "Bleu marine" << QColor(Qt::black);
        QTest::newRow("chosen, preset colour kept") << true << false << "" << QColor(12, 34, 56);
        QTest::newRow("Cancel raises") << false << true << "Rouge" << QColor(Qt::black);
        QTest::newRow("Cancel returns") << false << false << "Rouge" << QColor(Qt::black);
    }
    void fontDialog()
    {
        QFETCH(bool, accept); QFETCH(bool, cancelError); QFETCH(QString, color); QFETCH(QColor, preset);
        QtCommonDialog dialog;
        auto &p = dialog.props();
        std::tie(p.FontName, p.FontSize, p.FontUnderline, p.Color, p.CancelError) = std::tuple("DejaVu Sans", 12, true, preset, cancelError);
        QStringList seen;
        OnModal<platform::FontDialog> driver([&](platform::FontDialog *d) {
            seen << d->windowTitle() << d->colorList->currentText() << QString::number(d->selectedFont().pointSize())
                 << QString::number(d->selectedFont().underline());
            QFont font(QStringLiteral("DejaVu Sans"), 15, QFont::Bold); // as the user picks it: family, style, size
            font.setStrikeOut(true);
            d->chooser->setCurrentFont(font);
            if (!color.isEmpty())
                d->colorList->setCurrentText(color);
            accept ? d->accept() : d->reject();
        });
        QCOMPARE(dialog.showFont(), accept || !cancelError);
        QCOMPARE(seen, QStringList({"Police", preset == Qt::black ? "Noir" : preset.name(), "12", "1"}));
        QCOMPARE(p.Color, accept && !color.isEmpty() ? QColor(0, 0, 128) : preset);
        QCOMPARE(QList<bool>({p.FontBold, p.FontStrikethru, p.FontUnderline}), QList<bool>({accept, accept, !accept}));
        QCOMPARE(p.FontSize, accept ? 15.0 : 12.0);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
