#include "search/PanelControls.h"

#include "search/SearchTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>

namespace tarmel {

QLineEdit *makeTextBox(QWidget *parent, const QString &name, const QString &accessibleName, const QColor &background)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    return box;
}

CaseOptions makeCaseOptions(QWidget *parent, const QString &headingName, const QString &wholeWordName,
                            const QString &matchCaseName)
{
    namespace t = search::texts;
    CaseOptions o;
    o.heading = new QLabel(t::differentiateLabel(), parent);
    o.heading->setObjectName(headingName);
    o.wholeWord = new QCheckBox(t::wholeWordBox(), parent);
    o.wholeWord->setObjectName(wholeWordName);
    o.matchCase = new QCheckBox(t::caseBox(), parent);
    o.matchCase->setObjectName(matchCaseName);
    return o;
}

DirectionGroup makeDirectionGroup(QWidget *parent, const QString &caption, const QString &frameName,
                                  const QString &upName, const QString &downName)
{
    namespace t = search::texts;
    DirectionGroup g;
    g.frame = new QGroupBox(caption, parent);
    g.frame->setObjectName(frameName);
    g.up = new QRadioButton(t::upOption(), g.frame);
    g.up->setObjectName(upName);
    g.down = new QRadioButton(t::downOption(), g.frame);
    g.down->setObjectName(downName);
    g.down->setChecked(true);
    auto *row = new QHBoxLayout(g.frame);
    row->setContentsMargins(6, 0, 6, 2);
    row->addWidget(g.up);
    row->addWidget(g.down);
    return g;
}

} // namespace tarmel
