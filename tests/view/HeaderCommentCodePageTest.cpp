// The record's header comment in a code page that cannot hold all of it: the characters that
// would become '?' are named before anything is written, and the other code page is offered
// when it holds the whole text.
#include <gtest/gtest.h>

#include "model/CommentList.h"

namespace {

const wchar_t kNorth[] = L"«Северная» — фаза А";

TEST(HeaderCommentCodePage, UnfitCharactersAreNamedOnceInTheirOrder) {
    struct Case {
        const wchar_t* text;
        int option;
        const wchar_t* unfit;
    };
    const Case cases[] = {
        {kNorth, 0, L"«»—"},         // DOS has no guillemets and no dash
        {kNorth, 1, L""},            // Windows-1251 has them all
        {L"Привет, мир? 42", 0, L""},  // Cyrillic, digits and a real '?' fit both
        {L"Привет, мир? 42", 1, L""},
        {L"╔═╗ фаза", 0, L""},       // DOS pseudo-graphics are DOS characters
        {L"╔═╗ фаза", 1, L"╔═╗"},
        {L"€ 한 €", 0, L"€한"},       // the euro is only in 1251, Hangul in neither
        {L"€ 한 €", 1, L"한"},
        {L"", 0, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeaderCommentUnfitChars(c.text, c.option), CString(c.unfit)) << c.text << " " << c.option;
}

TEST(HeaderCommentCodePage, WhatFitsRoundTripsThroughTheBytes) {
    for (const wchar_t* text : {L"╔═╗ фаза А\r\nВЛ 110 кВ", L"Привет"}) {
        EXPECT_EQ(HeaderCommentToText(HeaderCommentFromText(text, 0), 0), CString(text));
    }
    EXPECT_EQ(HeaderCommentToText(HeaderCommentFromText(kNorth, 1), 1), CString(kNorth));
}

TEST(HeaderCommentCodePage, QuestionNamesTheLossAndOffersAPageThatHoldsTheText) {
    int suggested = 7;
    // Nothing lost: no question.
    EXPECT_TRUE(HeaderCommentLossQuestion(kNorth, 1, suggested).IsEmpty());
    EXPECT_EQ(suggested, -1);

    const CString q = HeaderCommentLossQuestion(kNorth, 0, suggested);
    EXPECT_EQ(suggested, 1);
    for (const wchar_t* part : {L"866 MS-DOS", L"« » —", L"Windows-1251", L"«?»"})
        EXPECT_GE(q.Find(part), 0) << part << " in " << q.str();

    // Neither page holds Hangul: no page is offered, and the loss is still named.
    const CString none = HeaderCommentLossQuestion(L"фаза 한", 1, suggested);
    EXPECT_EQ(suggested, -1);
    EXPECT_GE(none.Find(L"한"), 0) << none.str();
    EXPECT_GE(none.Find(L"866 MS-DOS"), 0) << none.str();
}

}  // namespace
