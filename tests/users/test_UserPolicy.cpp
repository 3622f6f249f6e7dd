#include "users/QVL_User.h"
#include "users/QVL_User_Policy.h"
#include "users/QVL_User_Rights.h"

#include <gtest/gtest.h>

#include <set>

TEST(UserPolicy, WhatTheEditorMayChangeInAProfile)
{
    using R = TQVL_User_Rights;
    struct Case
    {
        std::vector<TQVL_Right> granted;
        bool own;
        bool edit, rights, results, unguarded;
    };
    const Case cases[] = {
        {{}, true, false, false, false, false},
        {{}, false, false, false, false, false},
        {{&R::USERPROFILES_EDIT_SELF}, true, true, false, false, false},
        {{&R::USERPROFILES_EDIT_SELF}, false, false, false, false, false},
        {{&R::USERPROFILES_EDIT_SELF, &R::USERPROFILES_EDIT_SELT_RIGHTS, &R::USERPROFILES_EDIT_RESULTS}, true, true,
         true, true, false},
        // Rights to edit one's own rights or results mean nothing without the right to edit the profile.
        {{&R::USERPROFILES_EDIT_SELT_RIGHTS, &R::USERPROFILES_EDIT_RESULTS}, true, false, false, false, false},
        {{&R::USERPROFILES_EDIT_OTHER}, true, false, false, false, false},
        {{&R::USERPROFILES_EDIT_OTHER}, false, true, true, false, true},
        {{&R::USERPROFILES_EDIT_OTHER, &R::USERPROFILES_EDIT_RESULTS}, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        R editor;
        for (TQVL_Right right : c.granted)
            editor.*right = true;
        const TQVL_User_Policy::ProfileAccess access = TQVL_User_Policy::ForProfile(editor, c.own);
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(access.MayEdit, c.edit);
        EXPECT_EQ(access.MayEditRights, c.rights);
        EXPECT_EQ(access.MayDeleteResults, c.results);
        EXPECT_EQ(access.MayOpenUnguarded, c.unguarded);
    }
}

TEST(UserPolicy, APasswordIsAskedOnlyWhenTheProfileHasOne)
{
    const QString digest = TQVL_User::PasswordDigest(QStringLiteral("geheim"));
    struct Case
    {
        QString stored, typed;
        bool asks, opens;
    };
    const Case cases[] = {
        {QString(), QString(), false, true},
        {QString(), QStringLiteral("egal"), false, true},
        {digest, QStringLiteral("geheim"), true, true},
        {digest, QStringLiteral("Geheim"), true, false},
        {digest, QString(), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(TQVL_User_Policy::AsksPassword(c.stored), c.asks);
        EXPECT_EQ(TQVL_User_Policy::MayLogIn(c.stored, c.typed), c.opens);
    }
}

TEST(UserRights, EveryMemberHasItsPlaceInTheTableAndAnyOfNeedsOne)
{
    using R = TQVL_User_Rights;
    std::set<int> places;
    for (const R::Entry& entry : R::Table())
        places.insert(R::IndexOf(entry.Flag));
    EXPECT_EQ(places.size(), R::Table().size());
    EXPECT_EQ(*places.begin(), 0);

    R rights;
    rights.QUERY_OPTIONS = true;
    EXPECT_TRUE(rights.HasAnyOf({}));
    EXPECT_TRUE(rights.HasAnyOf({&R::PRINT, &R::QUERY_OPTIONS}));
    EXPECT_FALSE(rights.HasAnyOf({&R::PRINT, &R::USERPROFILES_EDIT_OTHER}));
}
