#include "keylist.h"

#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>

namespace {

// A command that records its name, so that a test sees which binding ran.
TKeyCommand Named(std::string& log, const char* name)
{
    return [&log, name](QObject&) { log += name; };
}

// The name of the command a stroke runs ("none" without a binding).
std::string Lookup(const TKeyList& list, std::string& log, quint16 key, TShiftState shift, quint8 state)
{
    log.clear();
    QObject object;
    const TKeyData* item = list.Find(key, shift, state);
    if (!item)
        return "none";
    if (item->command)
        item->command(object);
    return log.empty() ? "prefix" : log;
}

TEST(KeyList, TheLaterBindingOfAKeyWins)
{
    std::string log;
    TKeyList list;
    list.Add('X', ssCtrl, [&](QObject&) { log = "first"; }, ktSource);
    list.Add('X', ssCtrl, [&](QObject&) { log = "second"; }, ktSource);
    QObject object;
    list.Find('X', ssCtrl, 0)->command(object);
    EXPECT_EQ(log, "second");
    EXPECT_EQ(list.Count(), 2);
}

TEST(KeyList, ModifiersAndStatesMatchExactlyExceptTheAnyState)
{
    TKeyList list;
    list.Add('K', ssCtrl, {}, ktControl);
    list.AddState(1, 0, 'B', 0, {}, ktSource);
    list.AddAnyState(Vk::Left, 0, {}, ktControl);

    EXPECT_NE(list.Find('K', ssCtrl, 0), nullptr);
    EXPECT_EQ(list.Find('K', ssCtrl | ssShift, 0), nullptr);
    EXPECT_EQ(list.Find('K', 0, 0), nullptr);
    EXPECT_EQ(list.Find('K', ssCtrl, 1), nullptr);

    EXPECT_NE(list.Find('B', 0, 1), nullptr);
    EXPECT_EQ(list.Find('B', 0, 0), nullptr);
    EXPECT_EQ(list.Find('B', 0, 2), nullptr);

    for (quint8 state : {0, 1, 5, 254})
        EXPECT_NE(list.Find(Vk::Left, 0, state), nullptr) << int(state);
}

TEST(KeyList, TheThreeAddingOperationsSetTheStates)
{
    TKeyList list;
    list.Add('A', 0, {}, ktControl);
    list.AddAnyState('B', 0, {}, ktControl);
    list.AddState(3, 4, 'C', ssAlt);
    EXPECT_EQ(list.At(0).startState, 0);
    EXPECT_EQ(list.At(0).nextState, 0);
    EXPECT_EQ(list.At(1).startState, TKeyData::kAnyState);
    EXPECT_EQ(list.At(1).nextState, 0);
    EXPECT_EQ(list.At(2).startState, 3);
    EXPECT_EQ(list.At(2).nextState, 4);
    EXPECT_EQ(list.At(2).shift, ssAlt);
    // A prefix has no command.
    EXPECT_FALSE(list.At(2).command);
}

TEST(KeyList, TheCacheNeverAnswersForAnotherState)
{
    // An any-state binding found in state 0 is the last match; the same
    // key in state 1 has a binding of its own added later.
    std::string log;
    TKeyList list;
    list.AddAnyState(Vk::Home, 0, Named(log, "any"), ktControl);
    list.AddState(1, 0, Vk::Home, 0, Named(log, "state1"), ktControl);
    EXPECT_EQ(Lookup(list, log, Vk::Home, 0, 0), "any");
    EXPECT_EQ(Lookup(list, log, Vk::Home, 0, 1), "state1");
    EXPECT_EQ(Lookup(list, log, Vk::Home, 0, 0), "any");
}

TEST(KeyList, AddingABindingClearsTheCache)
{
    std::string log;
    TKeyList list;
    list.Add('T', ssCtrl, Named(log, "old"), ktSource);
    EXPECT_EQ(Lookup(list, log, 'T', ssCtrl, 0), "old");
    list.Add('T', ssCtrl, Named(log, "new"), ktSource);
    EXPECT_EQ(Lookup(list, log, 'T', ssCtrl, 0), "new");
    // A miss is remembered too, and forgotten by the next addition.
    EXPECT_EQ(Lookup(list, log, 'W', ssCtrl, 0), "none");
    list.Add('W', ssCtrl, Named(log, "w"), ktSource);
    EXPECT_EQ(Lookup(list, log, 'W', ssCtrl, 0), "w");
    list.Clear();
    EXPECT_EQ(Lookup(list, log, 'W', ssCtrl, 0), "none");
}

TEST(KeyMappingRegistry, AControlFindsItsOwnMappingBeforeItsBaseClasss)
{
    KeyMappings::Register(QObject::staticMetaObject, QStringLiteral("Registry Test"),
                          [](TKeyList& list) { list.Add('1', 0, {}, ktControl); });
    KeyMappings::Register(QTimer::staticMetaObject, QStringLiteral("registry test"),
                          [](TKeyList& list) { list.Add('2', 0, {}, ktControl); });
    KeyMappings::Register(QObject::staticMetaObject, QStringLiteral("Registry Base Only"),
                          [](TKeyList& list) { list.Add('3', 0, {}, ktControl); });

    auto fill = [](const QMetaObject& meta, const char* name) {
        TKeyList list;
        const TKeyMappingProc proc = KeyMappings::Find(meta, QString::fromLatin1(name));
        if (!proc)
            return 0;
        proc(list);
        return int(list.At(0).keyCode);
    };
    EXPECT_EQ(fill(QTimer::staticMetaObject, "REGISTRY TEST"), '2');
    EXPECT_EQ(fill(QObject::staticMetaObject, "Registry Test"), '1');
    // A derived class sees its base's mappings; a base never its derived's.
    EXPECT_EQ(fill(QTimer::staticMetaObject, "Registry Base Only"), '3');
    EXPECT_EQ(fill(QObject::staticMetaObject, "Nobody registered this"), 0);

    const QStringList names = KeyMappings::Names(QTimer::staticMetaObject);
    EXPECT_EQ(names.filter(QStringLiteral("registry test"), Qt::CaseInsensitive).size(), 1);
    EXPECT_TRUE(names.contains(QStringLiteral("Registry Base Only")));
}

TEST(KeyMappingRegistry, RegisteringANameAgainReplacesItsProcedure)
{
    KeyMappings::Register(QObject::staticMetaObject, QStringLiteral("Replaced"),
                          [](TKeyList& list) { list.Add('A', 0, {}, ktControl); });
    KeyMappings::Register(QObject::staticMetaObject, QStringLiteral("REPLACED"),
                          [](TKeyList& list) { list.Add('B', 0, {}, ktControl); });
    TKeyList list;
    KeyMappings::Find(QObject::staticMetaObject, QStringLiteral("replaced"))(list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0).keyCode, 'B');
    EXPECT_EQ(KeyMappings::Names(QObject::staticMetaObject).filter(QStringLiteral("replaced"), Qt::CaseInsensitive).size(), 1);
}

} // namespace
