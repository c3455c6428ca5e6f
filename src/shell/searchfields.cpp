#include "searchfields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QCheckBox* addCheck(QGroupBox* group, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, group);
    box->setObjectName(QString::fromLatin1(name));
    group->layout()->addWidget(box);
    return box;
}

QGroupBox* makeGroup(const QString& title, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    new QVBoxLayout(group);
    return group;
}

// A radio group of two items, numbered 0 and 1 as a radio group's items are.
QButtonGroup* makeRadioGroup(QGroupBox* group, const char* name0, const QString& caption0, const char* name1,
                             const QString& caption1)
{
    auto* buttons = new QButtonGroup(group);
    int id = 0;
    for (auto [name, caption] : {std::pair{name0, caption0}, std::pair{name1, caption1}}) {
        auto* radio = new QRadioButton(caption, group);
        radio->setObjectName(QString::fromLatin1(name));
        group->layout()->addWidget(radio);
        buttons->addButton(radio, id++);
    }
    return buttons;
}

} // namespace

TSearchFields::TSearchFields(const QString& regularCaption, bool withPrompt, QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);

    QGroupBox* options = makeGroup(QStringLiteral("Options"), this);
    m_caseSensitive = addCheck(options, "CaseSensitive", QStringLiteral("&Case sensitive"));
    m_wholeWords = addCheck(options, "WholeWordsOnly", QStringLiteral("&Whole words only"));
    m_regular = addCheck(options, "RegularExpressions", regularCaption);
    if (withPrompt)
        m_prompt = addCheck(options, "PromptOnReplace", QStringLiteral("&Prompt on replace"));
    m_wrap = addCheck(options, "WrapAround", QStringLiteral("&Wrap around"));
    grid->addWidget(options, 0, 0);

    QGroupBox* direction = makeGroup(QStringLiteral("Direction"), this);
    m_direction = makeRadioGroup(direction, "DirectionForward", QStringLiteral("Forwar&d"), "DirectionBackward",
                                 QStringLiteral("&Backward"));
    grid->addWidget(direction, 0, 1);

    QGroupBox* scope = makeGroup(QStringLiteral("Scope"), this);
    m_scope = makeRadioGroup(scope, "ScopeGlobal", QStringLiteral("&Global"), "ScopeSelectedText",
                             QStringLiteral("&Selected text"));
    grid->addWidget(scope, 1, 0);

    QGroupBox* origin = makeGroup(QStringLiteral("Origin"), this);
    m_origin = makeRadioGroup(origin, "OriginFromCursor", QStringLiteral("&From cursor"), "OriginEntireScope",
                              QStringLiteral("&Entire scope"));
    grid->addWidget(origin, 1, 1);

    // A group beside a taller one keeps its items at the top.
    for (QGroupBox* group : {options, direction, scope, origin})
        static_cast<QVBoxLayout*>(group->layout())->addStretch(1);
}

void TSearchFields::Load(const TSearchOptions& options)
{
    m_caseSensitive->setChecked(options.caseSensitive);
    m_wholeWords->setChecked(options.wholeWordsOnly);
    m_regular->setChecked(options.regularExpressions);
    if (m_prompt)
        m_prompt->setChecked(options.promptOnReplace);
    m_wrap->setChecked(options.wrapAround);
    m_direction->button(options.direction == sdBackward ? 1 : 0)->setChecked(true);
    m_scope->button(options.scope == ssSelectedText ? 1 : 0)->setChecked(true);
    m_origin->button(options.origin == soEntireScope ? 1 : 0)->setChecked(true);
}

void TSearchFields::Store(TSearchOptions& options) const
{
    options.caseSensitive = m_caseSensitive->isChecked();
    options.wholeWordsOnly = m_wholeWords->isChecked();
    options.regularExpressions = m_regular->isChecked();
    if (m_prompt)
        options.promptOnReplace = m_prompt->isChecked();
    options.wrapAround = m_wrap->isChecked();
    options.direction = m_direction->checkedId() == 1 ? sdBackward : sdForward;
    options.scope = m_scope->checkedId() == 1 ? ssSelectedText : ssGlobal;
    options.origin = m_origin->checkedId() == 1 ? soEntireScope : soFromCursor;
}
