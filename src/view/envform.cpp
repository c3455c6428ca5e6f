// The editor options dialog: its pages, the re-entry guard, and "Ok",
// which checks every page before any of them writes.

#include "envform.h"

#include "envcolorspage.h"
#include "envdisplaypage.h"
#include "enveditorpage.h"
#include "modaldialogs.h"
#include "services.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

std::vector<TEnvForm::TPageFactory>& factories()
{
    static std::vector<TEnvForm::TPageFactory> list{
        [](TEnvSettings& settings) { return new TEnvEditorPage(settings); },
        [](TEnvSettings& settings) { return new TEnvDisplayPage(settings); },
        [](TEnvSettings& settings) { return new TEnvColorsPage(settings); },
    };
    return list;
}

bool& showing()
{
    static bool flag = false;
    return flag;
}

} // namespace

const TMemoOptions TEnvForm::kEditedOptions = TEnvEditorPage::kEditedOptions | TEnvDisplayPage::kEditedOptions;

TEnvForm::TEnvForm(TMemoEnvOptions& env, TMemoSourceOptions& source, QWidget* parent)
    : QDialog(parent), m_env(env), m_source(source), m_settings(std::make_unique<TEnvSettings>())
{
    setWindowTitle(QStringLiteral("Properties"));
    m_settings->env.Assign(env);
    m_settings->source.Assign(source);

    m_pages = new QTabWidget(this);
    for (const TPageFactory& factory : factories()) {
        TEnvPage* page = factory(*m_settings);
        m_pageList.push_back(page);
        m_pages->addTab(page, page->Caption());
    }
    // A page that changes the copies (a colour set, a colour file) is seen
    // on every other page.
    m_listener = m_settings->env.AddListener([this] {
        for (TEnvPage* page : m_pageList)
            page->Refresh();
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    m_help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    m_help->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TEnvForm::OkClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_onHelp)
            m_onHelp();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);
}

TEnvForm::~TEnvForm()
{
    m_settings->env.RemoveListener(m_listener);
    // The pages know the copies: they go first.
    delete m_pages;
}

bool TEnvForm::Showing()
{
    return showing();
}

bool TEnvForm::Execute(QWidget* parent, std::function<void()> help)
{
    if (showing())
        return false;
    showing() = true;
    struct TGuard {
        ~TGuard() { showing() = false; }
    } guard;
    TEnvForm form(TMemoEnvOptions::Global(), TMemoSourceOptions::Global(), parent);
    form.SetHelp(std::move(help));
    return ModalDialogs::Execute(form) == QDialog::Accepted;
}

void TEnvForm::RegisterPage(TPageFactory factory)
{
    factories().push_back(std::move(factory));
}

TEnvPage* TEnvForm::Page(const QString& caption) const
{
    for (int i = 0; i < m_pages->count(); ++i) {
        if (m_pages->tabText(i) == caption)
            return static_cast<TEnvPage*>(m_pages->widget(i));
    }
    return nullptr;
}

void TEnvForm::SetHelp(std::function<void()> help)
{
    m_onHelp = std::move(help);
    m_help->setEnabled(bool(m_onHelp));
}

void TEnvForm::OkClick()
{
    for (TEnvPage* page : m_pageList) {
        QString message;
        if (QWidget* field = page->Check(message)) {
            m_pages->setCurrentWidget(page);
            Services().ShowError(message);
            field->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                edit->selectAll();
            return;
        }
    }
    for (TEnvPage* page : m_pageList)
        page->Apply();
    m_env.Assign(m_settings->env);
    m_source.Assign(m_settings->source);
    accept();
}
