#include "persholder.h"

#include "componentstream.h"
#include "regularfile.h"
#include "savebytes.h"
#include "textstyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// No colour-style file comes near this; anything larger is not one, and is
// refused before it is read into memory.
constexpr qint64 kMaxStyleFileSize = 16 << 20;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TPersHolder::TPersHolder(TComponent* owner) : TComponent(owner), m_styles(new TTextStyles(nullptr, this))
{
    setObjectName(QStringLiteral("PersHolder"));
}

void TPersHolder::SetP(TTextStyles* styles)
{
    if (styles)
        m_styles->Assign(*styles);
}

// Colour-style files of TTextStyles: read into a holder of their own first,
// so that a file that fails anywhere leaves the styles untouched.

bool TTextStyles::LoadFromFile(const QString& path, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    QFile file(path);
    QString refusal;
    if (!RegularFile::Open(file, path, &refusal))
        return fail(QStringLiteral("Cannot open file \"%1\". %2").arg(Shown(path), refusal));
    if (file.size() > kMaxStyleFileSize)
        return fail(QStringLiteral("\"%1\" is not a color style file: it is too large.").arg(Shown(path)));
    const QByteArray text = file.read(kMaxStyleFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot read file \"%1\". %2").arg(Shown(path), file.errorString()));
    TPersHolder holder;
    QString streamError;
    if (!ReadComponent(text, holder, &streamError))
        return fail(QStringLiteral("\"%1\" is not a valid color style file. %2").arg(Shown(path), streamError));
    Assign(*holder.P());
    return true;
}

QString TTextStyles::StyleFileName(const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot < 0 ? name : name.left(dot);
    return path.left(path.size() - name.size()) + base + QStringLiteral(".RGB");
}

bool TTextStyles::SaveToFile(const QString& path, QString* error)
{
    const QString target = StyleFileName(path);
    TPersHolder holder;
    holder.SetP(this);
    const QByteArray text = WriteComponent(holder);
    // Written as documents are, so that a full disk or a failed write
    // leaves the file that was there.
    return SaveBytesSafely(TSaveTarget{target, {}}, text, error);
}
