#include "commands/frmAbout.h"

#include "commands/ToolTexts.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmel {

namespace {

QLabel *label(const QString &text, const char *name)
{
    auto *l = new QLabel(text);
    l->setObjectName(QLatin1String(name));
    return l;
}

// The application's icon, or the program's own picture when it has none.
QPixmap programPicture()
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/tarmel/toolbar/tarmel.svg"));
    return icon.pixmap(48, 48);
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(texts::aboutCaption());
    Image1 = label(QString(), "Image1");
    Image1->setPixmap(programPicture());
    Image1->setAccessibleName(QStringLiteral("Tarmel"));
    Label1 = label(texts::aboutLabel1(), "Label1");
    Etiquette1 = label(texts::aboutEtiquette1(), "Etiquette1");
    Etiquette2 = label(texts::aboutVersion() + QLatin1Char('\n') + texts::aboutOwner(), "Etiquette2");
    Label2 = label(texts::aboutEmailLabel(), "Label2");
    Label3 = label(texts::aboutEmail(), "Label3");
    Label4 = label(texts::aboutUrlLabel(), "Label4");
    Label5 = label(texts::aboutUrl(), "Label5");
    for (QLabel *value : {Label3, Label5})
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdAbout = new QPushButton(texts::aboutOk());
    cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
    cmdAbout->setDefault(true);

    fraAbout = new QGroupBox;
    fraAbout->setObjectName(QStringLiteral("fraAbout"));
    auto *contacts = new QGridLayout(fraAbout);
    contacts->addWidget(Label2, 0, 0);
    contacts->addWidget(Label3, 0, 1);
    contacts->addWidget(Label4, 1, 0);
    contacts->addWidget(Label5, 1, 1);

    auto *lines = new QVBoxLayout;
    for (QLabel *l : {Label1, Etiquette1, Etiquette2})
        lines->addWidget(l);
    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdAbout);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fraAbout);
    layout->addLayout(buttonRow);
    setFixedSize(sizeHint());

    connect(cmdAbout, &QPushButton::clicked, this, &frmAbout::cmdAbout_Click);
}

void frmAbout::cmdAbout_Click()
{
    accept();
}

} // namespace tarmel
