#include "settings/FrmPref.h"

#include "app/AppContext.h"
#include "app/Paths.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "settings/ConfigFile.h"
#include "settings/ModAssoc.h"
#include "settings/SettingsTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace tarmel {

namespace texts = settings::texts;

namespace {

const QString application = QStringLiteral("Tarmel");
const QString section = QStringLiteral("Settings");

// A tab page holding one frame with the given caption; returns the frame's layout.
QVBoxLayout *framedPage(QWidget *page, const QString &caption)
{
    auto *frame = new QGroupBox(caption, page);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(frame);
    return new QVBoxLayout(frame);
}

QCheckBox *addCheck(QVBoxLayout *layout, const QString &name, const QString &text)
{
    auto *box = new QCheckBox(text);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

} // namespace

FrmPref::FrmPref(AppContext &app, QWidget *parent) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("FrmPref"));
    setWindowTitle(texts::caption());
    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(buildAssociationsTab(), texts::associationsTab());
    SSTab1->addTab(buildToolbarTab(), texts::toolbarTab());
    SSTab1->addTab(buildWindowsTab(), texts::windowsTab());
    SSTab1->addTab(buildFontTab(), texts::fontTab());
    SSTab1->addTab(buildPrintTab(), texts::printTab());
    SSTab1->setUsesScrollButtons(false); // every tab's caption in full

    Command2 = new QPushButton(texts::applyButton(), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(texts::applyTip());
    Command2->setDefault(true);
    Command1 = new QPushButton(texts::cancelButton(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(texts::cancelTip());
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

QWidget *FrmPref::buildAssociationsTab()
{
    auto *page = new QWidget;
    QVBoxLayout *frame = framedPage(page, texts::associationsFrame());
    frame->addWidget(new QLabel(texts::associationsLabel()));
    Check1 = addCheck(frame, QStringLiteral("Check1"), texts::txtGroup());
    Check2 = addCheck(frame, QStringLiteral("Check2"), texts::isoGroup());
    Check3 = addCheck(frame, QStringLiteral("Check3"), texts::jauGroup());
    Check4 = addCheck(frame, QStringLiteral("Check4"), texts::rtfGroup());
    Check7 = addCheck(frame, QStringLiteral("Check7"), texts::hGroup());
    Check8 = addCheck(frame, QStringLiteral("Check8"), texts::cncGroup());
    return page;
}

QWidget *FrmPref::buildToolbarTab()
{
    auto *page = new QWidget;
    QVBoxLayout *frame = framedPage(page, texts::toolbarFrame());
    Check6 = addCheck(frame, QStringLiteral("Check6"), texts::hideToolbar());
    frame->addStretch();
    return page;
}

QWidget *FrmPref::buildWindowsTab()
{
    auto *page = new QWidget;
    QVBoxLayout *frame = framedPage(page, texts::windowsFrame());
    Check5 = addCheck(frame, QStringLiteral("Check5"), texts::maximizeWindows());
    frame->addStretch();
    return page;
}

QWidget *FrmPref::buildFontTab()
{
    auto *page = new QWidget;
    QVBoxLayout *frame = framedPage(page, texts::fontFrame());
    ComboFont = new QComboBox;
    ComboFont->setObjectName(QStringLiteral("ComboFont"));
    ComboFont->setEditable(true);
    ComboFont->setAccessibleName(texts::fontTab());
    auto *sizeLabel = new QLabel(texts::sizeLabel());
    ComboSize = new QComboBox;
    ComboSize->setObjectName(QStringLiteral("ComboSize"));
    ComboSize->setEditable(true);
    ComboSize->setAccessibleName(texts::sizeLabel());
    ComboSize->setMinimumContentsLength(5); // "10,5" shows whole
    for (int size = 2; size <= 74; size += 2)
        ComboSize->addItem(QString::number(size));
    auto *row = new QHBoxLayout;
    row->addWidget(ComboFont, 1);
    row->addWidget(sizeLabel);
    row->addWidget(ComboSize);
    frame->addLayout(row);
    frame->addStretch();
    return page;
}

QWidget *FrmPref::buildPrintTab()
{
    auto *page = new QWidget;
    QVBoxLayout *frame = framedPage(page, texts::headerFrame());
    const QString captions[] = {texts::headerFolderAndFile(), texts::headerFileOnly(), texts::headerNone()};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(captions[i]);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        frame->addWidget(Option1[i]);
    }
    frame->addStretch();
    return page;
}

void FrmPref::Form_Load()
{
    const AppState &state = app_.state();
    platform::SettingsStore &store = *app_.services().settings;
    const std::array<QCheckBox *, 6> boxes = associationBoxes();
    for (int i = 0; i < 6; ++i) {
        const QString value = store.get(application, section, associationGroups()[i].settingsKey, QStringLiteral("0"));
        boxes[i]->setChecked(std::nearbyint(numberFromText(value)) == 1);
    }
    Check5->setChecked(state.MaximizeDocuments == 1);
    Check6->setChecked(state.ToolbarVisible == 0);
    ComboFont->clear();
    ComboFont->addItems(QFontDatabase::families());
    if (!state.EditorFontName.isEmpty()) {
        ComboFont->setCurrentText(state.EditorFontName);
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        ComboSize->setCurrentText(locale.toString(state.EditorFontSize, 'g', QLocale::FloatingPointShortest));
    } else {
        ComboFont->setCurrentText(texts::defaultFont());
        ComboSize->setCurrentIndex(5);
    }
    const int header = state.HeaderOption == 1 || state.HeaderOption == 2 ? state.HeaderOption : 0;
    Option1[header]->setChecked(true);
}

void FrmPref::Command1_Click()
{
    close();
}

void FrmPref::Command2_Click()
{
    storeAssociations();
    applyAssociations();
    takeValues();
    if (writeConfiguration())
        close();
}

void FrmPref::storeAssociations()
{
    const std::array<QCheckBox *, 6> boxes = associationBoxes();
    for (int i = 0; i < 6; ++i)
        app_.services().settings->set(application, section, associationGroups()[i].settingsKey,
                                      boxes[i]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void FrmPref::applyAssociations()
{
    platform::Registry &registry = *app_.services().registry;
    const QString program = registeredProgramPath(app_.services().shell->programFolder());
    const std::array<QCheckBox *, 6> boxes = associationBoxes();
    for (int i = 0; i < 6; ++i)
        ApplyAssociationGroup(registry, program, associationGroups()[i], boxes[i]->isChecked());
    registry.commit(); // as on the original platform, the outcome is not reported
}

// The five values, the toolbar shown or hidden at once, and the font given to the open windows.
void FrmPref::takeValues()
{
    AppState &state = app_.state();
    state.MaximizeDocuments = Check5->isChecked() ? 1 : 0;
    state.EditorFontName = ComboFont->currentText();
    state.EditorFontSize = numberFromText(ComboSize->currentText());
    state.ToolbarVisible = Check6->isChecked() ? 0 : 1;
    app_.setToolbarVisible(state.ToolbarVisible != 0);
    for (int i = 0; i < 3; ++i) {
        if (Option1[i]->isChecked())
            state.HeaderOption = qint16(i);
    }
    for (Form1 *doc : app_.documents())
        doc->Text1->setBaseFont(state.EditorFontName, state.EditorFontSize);
}

bool FrmPref::writeConfiguration()
{
    const AppState &state = app_.state();
    const Config config{state.MaximizeDocuments, state.EditorFontName, state.EditorFontSize, state.ToolbarVisible,
                        state.HeaderOption};
    const QChar separator = QLocale().decimalPoint().front();
    const WriteResult result =
        writeConfig(configFilePath(app_.services().shell->programFolder()), config, separator);
    if (!result.ok)
        app_.services().messageBox->show(texts::configWriteError(result.error), platform::mb::Critical,
                                         texts::errorTitle());
    return result.ok;
}

} // namespace tarmel
