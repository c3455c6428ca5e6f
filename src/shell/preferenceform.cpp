// The preferences dialog, built in code. Its fields are stored as
// "JavacPath_Text", "ParamEdit_Text", "AppWidthEdit_Text",
// "AppHeightEdit_Text", "ProgramArgsEdit_Text", "ReopenCheck_Checked",
// "Utf8Check_Checked" and "KeepUndoCheck_Checked" ("True" or "False"); the
// tool runs read them back at each use through
// StoredSettings, which applies the same checks as the dialog, so a run and
// the dialog never disagree about a value.

#include "preferenceform.h"

#include "modaldialogs.h"
#include "services.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

const QString TPreferenceForm::kSection = QStringLiteral("Tarnel\\Preference");
#ifdef Q_OS_WIN
const QString TPreferenceForm::kBrowseFilter = QStringLiteral("Executable (*.exe)|*.exe");
const QString TPreferenceForm::kBrowseDefaultExt = QStringLiteral("*.exe");
#else
const QString TPreferenceForm::kBrowseFilter = QStringLiteral("All Files (*)|*");
const QString TPreferenceForm::kBrowseDefaultExt;
#endif
std::function<void(TPreferenceForm&)> TPreferenceForm::ExecHook;

namespace {

const QString kJavacPathText = QStringLiteral("JavacPath.Text");
const QString kParamEditText = QStringLiteral("ParamEdit.Text");
const QString kAppWidthEditText = QStringLiteral("AppWidthEdit.Text");
const QString kAppHeightEditText = QStringLiteral("AppHeightEdit.Text");
const QString kProgramArgsEditText = QStringLiteral("ProgramArgsEdit.Text");
const QString kReopenCheckChecked = QStringLiteral("ReopenCheck.Checked");
const QString kUtf8CheckChecked = QStringLiteral("Utf8Check.Checked");
const QString kKeepUndoCheckChecked = QStringLiteral("KeepUndoCheck.Checked");

// A text field holds at most this many characters (what a line edit takes);
// a longer stored text is refused rather than cut.
constexpr int kMaxText = 32767;

bool usableText(const QString& text)
{
    return text.size() <= kMaxText;
}

std::optional<int> appletSize(const QString& text)
{
    return TFormStorage::ParseInt(text, 1, TPreferenceForm::kMaxAppletSize);
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

TPreferenceForm::TPreferenceForm(QWidget* parent)
    : QDialog(parent), m_storage(*this, kSection, *this)
{
    setObjectName(QStringLiteral("PreferenceForm"));
    setWindowTitle(QStringLiteral("Preferences..."));
    setModal(true);

    m_javacPath = new QLineEdit(this);
    m_javacPath->setObjectName(QStringLiteral("JavacPath"));
    m_javacPath->setMinimumWidth(320);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("JavacBrowse"));
    m_browse->setToolTip(QStringLiteral("Browse Javac"));
    m_browse->setAutoDefault(false);
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(m_browse, &QPushButton::clicked, this, &TPreferenceForm::BrowseJavac);
    m_params = new QLineEdit(this);
    m_params->setObjectName(QStringLiteral("ParamEdit"));

    auto sizeField = [this](const char* name, int value) {
        auto* field = new QSpinBox(this);
        field->setObjectName(QLatin1String(name));
        field->setRange(1, kMaxAppletSize);
        field->setValue(value);
        return field;
    };
    m_width = sizeField("AppWidthEdit", kDefaultWidth);
    m_height = sizeField("AppHeightEdit", kDefaultHeight);

    m_programArgs = new QLineEdit(this);
    m_programArgs->setObjectName(QStringLiteral("ProgramArgsEdit"));
    m_programArgs->setToolTip(QStringLiteral("Given to Run Java Program; quote an argument that holds blanks"));

    m_reopen = new QCheckBox(QStringLiteral("Reopen the documents that were open at exit"), this);
    m_reopen->setObjectName(QStringLiteral("ReopenCheck"));
    m_utf8 = new QCheckBox(QStringLiteral("New documents use UTF-8"), this);
    m_utf8->setObjectName(QStringLiteral("Utf8Check"));
    m_utf8->setChecked(true);
    m_keepUndo = new QCheckBox(QStringLiteral("Keep undo history after saving"), this);
    m_keepUndo->setObjectName(QStringLiteral("KeepUndoCheck"));

    auto* note = new QLabel(QStringLiteral("Only for Javac and parameters right now."), this);
    note->setObjectName(QStringLiteral("NoteLabel"));

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(QStringLiteral("Compiler Path (Locate Javac.exe):"), m_javacPath, this));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_javacPath, 1);
    pathRow->addWidget(m_browse);
    layout->addLayout(pathRow);
    layout->addWidget(label(QStringLiteral("Parameters:"), m_params, this));
    layout->addWidget(m_params);
    layout->addSpacing(6);
    layout->addWidget(new QLabel(QStringLiteral("Default Applet Size (pixels):"), this));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(label(QStringLiteral("Width:"), m_width, this));
    sizeRow->addWidget(m_width);
    sizeRow->addSpacing(12);
    sizeRow->addWidget(label(QStringLiteral("Height:"), m_height, this));
    sizeRow->addWidget(m_height);
    sizeRow->addStretch(1);
    layout->addLayout(sizeRow);
    layout->addWidget(label(QStringLiteral("Program arguments:"), m_programArgs, this));
    layout->addWidget(m_programArgs);
    layout->addSpacing(6);
    layout->addWidget(note);
    layout->addSpacing(6);
    layout->addWidget(m_reopen);
    layout->addWidget(m_utf8);
    layout->addWidget(m_keepUndo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TPreferenceForm::~TPreferenceForm()
{
    if (m_storage.SavePending())
        m_storage.Save(true, false);
}

bool TPreferenceForm::Execute()
{
    m_storage.Restore();
    m_shown = StoredValues();
    m_javacPath->setFocus(Qt::OtherFocusReason);
    if (!ExecHook)
        return ModalDialogs::Execute(*this) == Accepted;
    setResult(Rejected);
    show();
    ExecHook(*this);
    if (isVisible())
        reject();
    return result() == Accepted;
}

void TPreferenceForm::done(int result)
{
    // The section keeps what was confirmed: a Cancel puts the fields back
    // and stores only where the dialog stood.
    const bool confirmed = result == Accepted;
    if (!confirmed) {
        QHash<QString, QString> shown;
        for (const auto& [name, value] : std::as_const(m_shown))
            shown.insert(name, value);
        RestoreValues(shown);
    }
    m_storage.Save(false, confirmed);
    QDialog::done(result);
}

void TPreferenceForm::BrowseJavac()
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Browse Javac");
    dialog.filter = kBrowseFilter;
    dialog.defaultExt = kBrowseDefaultExt;
    const QString current = m_javacPath->text().trimmed();
    if (!current.isEmpty()) {
        dialog.fileName = current;
        dialog.initialDir = QFileInfo(current).absolutePath();
    }
    if (Services().OpenFileDialog(dialog))
        m_javacPath->setText(QDir::toNativeSeparators(dialog.fileName));
}

QStringList TPreferenceForm::StoredNames() const
{
    return {kJavacPathText,      kParamEditText,    kAppWidthEditText,    kAppHeightEditText, kProgramArgsEditText,
            kReopenCheckChecked, kUtf8CheckChecked, kKeepUndoCheckChecked};
}

QList<QPair<QString, QString>> TPreferenceForm::StoredValues() const
{
    return {{kJavacPathText, m_javacPath->text()},
            {kParamEditText, m_params->text()},
            {kAppWidthEditText, QString::number(m_width->value())},
            {kAppHeightEditText, QString::number(m_height->value())},
            {kProgramArgsEditText, m_programArgs->text()},
            {kReopenCheckChecked, TFormStorage::BoolText(m_reopen->isChecked())},
            {kUtf8CheckChecked, TFormStorage::BoolText(m_utf8->isChecked())},
            {kKeepUndoCheckChecked, TFormStorage::BoolText(m_keepUndo->isChecked())}};
}

QStringList TPreferenceForm::RestoreValues(const QHash<QString, QString>& values)
{
    QStringList refused;
    auto text = [&](const QString& name, QLineEdit* field) {
        auto it = values.constFind(name);
        if (it == values.constEnd())
            return;
        if (usableText(*it))
            field->setText(*it);
        else
            refused.append(name);
    };
    auto number = [&](const QString& name, QSpinBox* field) {
        auto it = values.constFind(name);
        if (it == values.constEnd())
            return;
        if (std::optional<int> size = appletSize(*it))
            field->setValue(*size);
        else
            refused.append(name);
    };
    text(kJavacPathText, m_javacPath);
    text(kParamEditText, m_params);
    number(kAppWidthEditText, m_width);
    number(kAppHeightEditText, m_height);
    text(kProgramArgsEditText, m_programArgs);
    auto check = [&](const QString& name, QCheckBox* field) {
        auto it = values.constFind(name);
        if (it == values.constEnd())
            return;
        if (std::optional<bool> checked = TFormStorage::ParseBool(*it))
            field->setChecked(*checked);
        else
            refused.append(name);
    };
    check(kReopenCheckChecked, m_reopen);
    check(kUtf8CheckChecked, m_utf8);
    check(kKeepUndoCheckChecked, m_keepUndo);
    return refused;
}

TPreferenceForm::TJavaSettings TPreferenceForm::StoredSettings()
{
    auto read = [](const QString& property) {
        return TFormStorage::ReadValue(kSection, TFormStorage::ValueName(property));
    };
    auto text = [&](const QString& property) {
        const QString value = read(property);
        return usableText(value) ? value : QString();
    };
    auto size = [&](const QString& property, int fallback) {
        return QString::number(appletSize(read(property)).value_or(fallback));
    };
    return {text(kJavacPathText), text(kParamEditText), size(kAppWidthEditText, kDefaultWidth),
            size(kAppHeightEditText, kDefaultHeight), text(kProgramArgsEditText)};
}

bool TPreferenceForm::StoredReopen()
{
    return TFormStorage::ParseBool(TFormStorage::ReadValue(kSection, TFormStorage::ValueName(kReopenCheckChecked)))
        .value_or(false);
}

bool TPreferenceForm::StoredNewUtf8()
{
    return TFormStorage::ParseBool(TFormStorage::ReadValue(kSection, TFormStorage::ValueName(kUtf8CheckChecked)))
        .value_or(true);
}

bool TPreferenceForm::StoredKeepUndo()
{
    return TFormStorage::ParseBool(TFormStorage::ReadValue(kSection, TFormStorage::ValueName(kKeepUndoCheckChecked)))
        .value_or(false);
}
