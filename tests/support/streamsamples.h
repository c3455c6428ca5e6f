#pragma once

#include "collection.h"
#include "color.h"
#include "component.h"
#include "font.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// Small classes that hold one property of every kind the component stream
// knows, to write and read in tests.
namespace StreamSamples {
Q_NAMESPACE

enum TShade { shNone, shLight, shDark };
Q_ENUM_NS(TShade)

enum TMark : quint32 { mkFirst = 0x1, mkSecond = 0x2, mkThird = 0x4 };
Q_DECLARE_FLAGS(TMarks, TMark)
Q_FLAG_NS(TMarks)

} // namespace StreamSamples

Q_DECLARE_OPERATORS_FOR_FLAGS(StreamSamples::TMarks)
using enum StreamSamples::TShade;
using enum StreamSamples::TMark;

#define SAMPLE_FIELD(Type, Name, init)                                                                   \
public:                                                                                                  \
    Type Name() const { return m_##Name; }                                                               \
    void Set##Name(Type value) { m_##Name = value; }                                                     \
                                                                                                         \
private:                                                                                                 \
    Type m_##Name = init;

// An item of the innermost collection.
class TLeaf : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(QString Label READ Label WRITE SetLabel)
    SAMPLE_FIELD(int, Value, 7)
    SAMPLE_FIELD(QString, Label, {})

public:
    Q_INVOKABLE explicit TLeaf(TCollection* collection = nullptr) : TCollectionItem(collection) {}
};

class TLeafList : public TOwnedCollection<TLeaf> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TLeafList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};

// A named item with a nested collection and a property stored only while
// UseExtra is on.
class TBranch : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(int Weight READ Weight WRITE SetWeight)
    Q_PROPERTY(TLeafList* Leaves READ Leaves WRITE SetLeaves)
    Q_PROPERTY(bool UseExtra READ UseExtra WRITE SetUseExtra)
    Q_PROPERTY(QString Extra READ Extra WRITE SetExtra)
    SAMPLE_FIELD(int, Weight, 1)
    SAMPLE_FIELD(bool, UseExtra, false)
    SAMPLE_FIELD(QString, Extra, QStringLiteral("x"))

public:
    Q_INVOKABLE explicit TBranch(TCollection* collection = nullptr) : TNamedItem(collection) {}
    Q_INVOKABLE bool IsExtraStored() const { return m_UseExtra; }

    TLeafList* Leaves() const { return m_leaves; }
    void SetLeaves(TLeafList* leaves) { m_leaves->Assign(*leaves); }

private:
    TLeafList* m_leaves = new TLeafList(this);
};

class TBranchList : public TOwnedCollection<TBranch> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBranchList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};

// A nested object owned by its component, written dotted.
class TInner : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TBranchList* Branches READ Branches WRITE SetBranches)
    SAMPLE_FIELD(QString, Title, QStringLiteral("inner"))
    SAMPLE_FIELD(TFont, Font, TFont(QStringLiteral("Courier New"), -13))

public:
    Q_INVOKABLE explicit TInner(QObject* parent = nullptr) : QObject(parent) {}
    TBranchList* Branches() const { return m_branches; }
    void SetBranches(TBranchList* branches) { m_branches->Assign(*branches); }

private:
    TBranchList* m_branches = new TBranchList(this);
};

class TSample : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(qint64 Big READ Big WRITE SetBig)
    Q_PROPERTY(uint Unsigned READ Unsigned WRITE SetUnsigned)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(char Symbol READ Symbol WRITE SetSymbol)
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(StreamSamples::TShade Shade READ Shade WRITE SetShade)
    Q_PROPERTY(StreamSamples::TMarks Marks READ Marks WRITE SetMarks)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TInner* Inner READ Inner)
    Q_PROPERTY(TBranchList* Branches READ Branches WRITE SetBranches)
    Q_PROPERTY(TSample* Partner READ Partner WRITE SetPartner)
    Q_PROPERTY(int Secret READ Secret WRITE SetSecret STORED false)
    Q_PROPERTY(int Version READ Version WRITE SetVersion USER true)
    Q_PROPERTY(QString Hidden READ Hidden WRITE SetHidden DESIGNABLE false)
    SAMPLE_FIELD(qint64, Big, 0)
    SAMPLE_FIELD(uint, Unsigned, 0)
    SAMPLE_FIELD(bool, Enabled, true)
    SAMPLE_FIELD(QString, Text, {})
    SAMPLE_FIELD(char, Symbol, '\0')
    SAMPLE_FIELD(QByteArray, Data, {})
    SAMPLE_FIELD(double, Ratio, 0.5)
    SAMPLE_FIELD(StreamSamples::TShade, Shade, shNone)
    SAMPLE_FIELD(StreamSamples::TMarks, Marks, {})
    SAMPLE_FIELD(TColor, Color, clWindow)
    SAMPLE_FIELD(TFont, Font, {})
    SAMPLE_FIELD(TSample*, Partner, nullptr)
    SAMPLE_FIELD(int, Secret, 0)
    SAMPLE_FIELD(int, Version, 1)
    SAMPLE_FIELD(QString, Hidden, {})

public:
    Q_INVOKABLE explicit TSample(TComponent* owner = nullptr) : TComponent(owner) {}

    int Count() const { return m_count; }
    void SetCount(int count)
    {
        m_count = count;
        m_setWhileLoading = IsLoading();
    }
    TInner* Inner() const { return m_inner; }
    TBranchList* Branches() const { return m_branches; }
    void SetBranches(TBranchList* branches) { m_branches->Assign(*branches); }

    int loadedCount = 0;
    bool SetWhileLoading() const { return m_setWhileLoading; }

protected:
    void Loaded() override { ++loadedCount; }

private:
    int m_count = 0;
    bool m_setWhileLoading = false;
    TInner* m_inner = new TInner(this);
    TBranchList* m_branches = new TBranchList(this);
};

#undef SAMPLE_FIELD
