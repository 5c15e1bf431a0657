#include "ocr/post_ocr_correction.h"

#include <gtest/gtest.h>

#include <random>

#include "common/text_encoding.h"
#include "ocr/spelling_dictionary.h"
#include "support/dictionaries.h"

namespace orvane {
namespace {

constexpr IlLanguage kEn = IlLanguage::English;
constexpr IlLanguage kFr = IlLanguage::French;
constexpr IlLanguage kDe = IlLanguage::German;
constexpr IlLanguage kEs = IlLanguage::Spanish;

// One line as the first line of an entry.
std::string first(std::string_view line, IlLanguage lang) {
    return repairIl(line, '.', lang);
}

TEST(IlRepair, EnglishSentenceStartsPronounsAndOrdinaryWords) {
    EXPECT_EQ(first("lt is", kEn), "It is");  // after the assumed full stop
    EXPECT_EQ(first("Well, l'm here", kEn), "Well, I'm here");
    EXPECT_EQ(first("Well, I'm here", kEn), "Well, I'm here");
    EXPECT_EQ(first("he falls", kEn), "he falls");
    EXPECT_EQ(first("he faIIs", kEn), "he falls");  // capitals misread for l
    EXPECT_EQ(first("l", kEn), "I");
    EXPECT_EQ(first("", kEn), "");
}

TEST(IlRepair, CapitalsAndDoubledLetters) {
    EXPECT_EQ(first("THE AlR", kEn), "THE AIR");
    EXPECT_EQ(first("THE MIX", kEn), "THE MIX");
    EXPECT_EQ(first("All of it", kEn), "All of it");
    EXPECT_EQ(first("he is lll", kEn), "he is Ill");  // only the first l
    EXPECT_EQ(first("so ll x", kEn), "so Il x");
    EXPECT_EQ(first("so llama", kEn), "so llama");
    // Every I is decided again: a name after a small word loses its I.
    EXPECT_EQ(first("to Ian", kEn), "to lan");
}

TEST(IlRepair, EachRuleSetHasItsOwnRules) {
    struct Case {
        const char* line;
        const char* en;
        const char* fr;
        const char* de;
    };
    const Case cases[] = {
        {"so l'm", "so I'm", "so l'm", "so I'm"},          // 1: apostrophe after a blank
        {"so l am", "so I am", "so l am", "so I am"},      // 2: a lone letter
        {"so lt is", "so It is", "so lt is", "so It is"},  // 3: " It "
        {"so.lo", "so.Io", "so.Io", "so.Io"},              // 4: after a full stop
        {"so..lo", "so..lo", "so..lo", "so..lo"},          // 4: not after an ellipsis
        {"so. lo", "so. Io", "so. Io", "so. Io"},          // 4: full stop and a blank
        {"so -la", "so -Ia", "so -Ia", "so -Ia"},          // 5: dialogue dash
        {"so--la", "so--Ia", "so--Ia", "so--Ia"},          // 5: double dash
        {"so - la", "so - Ia", "so - Ia", "so - Ia"},      // 5: dash and a blank
        {"so[la", "so[Ia", "so[Ia", "so[Ia"},              // 6: bracket
        {"so [ la", "so [ Ia", "so [ Ia", "so [ Ia"},      // 6: bracket and a blank
        {"so \"la", "so \"Ia", "so \"la", "so \"la"},      // 7: double quote
        {"so \" la", "so \" Ia", "so \" la", "so \" la"},  // 7: quote and a blank
        {"so MlX", "so MIX", "so MIX", "so MIX"},          // 8: capital follows
        {"so Al x", "so AI x", "so AI x", "so AI x"},      // 8: capital before a blank
        {"so lll", "so Ill", "so Ill", "so Ill"},          // 9
        {"so lch", "so lch", "so lch", "so Ich"},          // 10
        {"so lnnen", "so lnnen", "so lnnen", "so Innen"},  // 10
        {"so lx", "so lx", "so lx", "so lx"},              // no rule at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(first(c.line, kEn), c.en);
        EXPECT_EQ(first(c.line, kFr), c.fr);
        EXPECT_EQ(first(c.line, kDe), c.de);
    }
}

TEST(IlRepair, FrenchAndGermanEdgeWords) {
    EXPECT_EQ(first("vu l ami", kFr), "vu l ami");
    EXPECT_EQ(first("Il est", kFr), "Il est");  // sentence start, then no rule
    EXPECT_EQ(first("und Ich", kDe), "und Ich");
    EXPECT_EQ(first("und Ich", kEn), "und lch");
}

TEST(IlRepair, LaterLinesSeeThePreviousLinesLastCharacter) {
    std::vector<std::string> afterDash{"Yes -", "lf so"};
    repairIlLines(afterDash, kFr);
    EXPECT_EQ(afterDash[1], "If so");  // a blank, then the hyphen

    std::vector<std::string> afterWord{"Yes", "lf so"};
    repairIlLines(afterWord, kFr);
    EXPECT_EQ(afterWord[1], "lf so");

    // An empty line in between: the next line starts as a first line would.
    std::vector<std::string> afterEmpty{"Yes", "", "lf so"};
    repairIlLines(afterEmpty, kFr);
    EXPECT_EQ(afterEmpty, (std::vector<std::string>{"Yes", "", "If so"}));
}

TEST(IlRepair, EightBitTextPassesThrough) {
    // Windows-1252 letters are neither capitals nor l.
    EXPECT_EQ(first("\xC9l\xE8ve l\xE0", kFr), "\xC9l\xE8ve l\xE0");
    EXPECT_EQ(first("\xC0 l\xC9", kFr), "\xC0 l\xC9");  // only A..Z counts as a capital
    EXPECT_EQ(first("\xC0 lX", kFr), "\xC0 IX");
}

TEST(IlRepair, OnlyIAndLChangeAndTheOCRsChoiceBetweenThemDoesNotMatter) {
    // Random lines over the characters the rules look at: the result keeps
    // every other character, and is the same whichever of I and l the OCR
    // read, so a second run changes nothing.
    const std::string alphabet = "lIlIlI ''\"-.[tnAXMaso";
    std::mt19937 rng(4711);
    for (int n = 0; n < 20000; ++n) {
        std::string line(rng() % 12, ' ');
        for (char& c : line) c = alphabet[rng() % alphabet.size()];
        std::string swapped = line;
        for (char& c : swapped) {
            if ((c == 'I' || c == 'l') && rng() % 2) c = c == 'I' ? 'l' : 'I';
        }
        const char before = ".-a\"["[rng() % 5];
        for (IlLanguage lang : {kEn, kFr, kDe}) {
            const std::string r = repairIl(line, before, lang);
            ASSERT_EQ(r.size(), line.size());
            for (size_t i = 0; i < r.size(); ++i) {
                const bool il = line[i] == 'I' || line[i] == 'l';
                ASSERT_TRUE(il ? (r[i] == 'I' || r[i] == 'l') : r[i] == line[i]) << line;
            }
            ASSERT_EQ(repairIl(swapped, before, lang), r) << line;
            ASSERT_EQ(repairIl(r, before, lang), r) << line;
        }
    }
}

TEST(PostOcr, QuotesBeforeIlOnEveryLineOfAnEntry) {
    std::vector<std::string> lines{"''lt is'' he said", "''''"};
    correctEntryLines(lines, {true, true, kEn});
    // After the repair the quote is a double quote, which rule 7 sees.
    EXPECT_EQ(lines, (std::vector<std::string>{"\"It is\" he said", "\"\""}));

    std::vector<std::string> quotesOnly{"''lt''"};
    correctEntryLines(quotesOnly, {true, false, kEn});
    EXPECT_EQ(quotesOnly[0], "\"lt\"");

    std::vector<std::string> ilOnly{"''lt''"};
    correctEntryLines(ilOnly, {false, true, kEn});
    EXPECT_EQ(ilOnly[0], "''lt''");  // no rule for an l after apostrophes
}

TEST(PostOcr, LanguageCodes) {
    EXPECT_EQ(ilLanguageFromCode("en"), kEn);
    EXPECT_EQ(ilLanguageFromCode("FR"), kFr);
    EXPECT_EQ(ilLanguageFromCode("De"), kDe);
    EXPECT_EQ(ilLanguageFromCode("es"), kEs);
    EXPECT_FALSE(ilLanguageFromCode(""));
    EXPECT_FALSE(ilLanguageFromCode("e"));
    EXPECT_FALSE(ilLanguageFromCode("eng"));
    EXPECT_FALSE(ilLanguageFromCode("it"));
}

TEST(IlRepair, SpanishRules) {
    // As French, and a lone letter is the numeral I, and a sentence starts
    // after an opening question or exclamation mark.
    EXPECT_EQ(repairIl("so l'm", 'a', kEs), "so l'm");                          // no elision rule
    EXPECT_EQ(repairIl("Carlos l", 'a', kEs), "Carlos I");                      // 2
    EXPECT_EQ(repairIl("so lt is", 'a', kEs), "so lt is");                      // no " It "
    EXPECT_EQ(repairIl("so. lo", 'a', kEs), "so. Io");                          // 4
    EXPECT_EQ(repairIl("- la", 'a', kEs), "- Ia");                              // 5
    EXPECT_EQ(repairIl("so \"la", 'a', kEs), "so \"la");                        // no quote rule
    EXPECT_EQ(repairIl("so lnd", 'a', kEs), "so lnd");                          // no German rule
    EXPECT_EQ(repairIl("\xBFlr? \xA1 lsla!", 'a', kEs), "\xBFIr? \xA1 Isla!");  // 11
    EXPECT_EQ(repairIl("\xBFlr?", 'a', kEn), "\xBFlr?");
    // Within capitals: an l before a capital, accented too, but not after
    // one ("El" begins sentences).
    EXPECT_EQ(repairIl("HABITACl\xD3N AlRE", 'a', kEs), "HABITACI\xD3N AIRE");
    EXPECT_EQ(repairIl("HABITACl\xD3N", 'a', kFr), "HABITACl\xD3N");
    EXPECT_EQ(repairIl("El tren", '.', kEs), "El tren");
    EXPECT_EQ(repairIl("El tren", '.', kFr), "EI tren");
}

using test::dictionary;

TEST(IlRepair, TheDictionaryDecidesTheWordsItKnows) {
    struct Case {
        IlLanguage language;
        const char* line;
        const char* rules;       // the rules alone
        const char* dictionary;  // with the language's dictionary
    };
    const Case cases[] = {
        {kEn, "Say hi to Ian - Iook!", "Say hi to lan - Iook!", "Say hi to Ian - look!"},
        {kEn, "lt's AlR, I'll see", "It's AIR, I'll see", "It's AIR, I'll see"},  // the rules stand
        {kFr, "- Ies enfants et Iui", "- Ies enfants et lui", "- les enfants et lui"},
        {kFr, "Il a vu l'\xEEle", "Il a vu l'\xEEle", "Il a vu l'\xEEle"},
        {kDe, "- Iass das, lch bitte", "- Iass das, Ich bitte", "- lass das, Ich bitte"},
        {kEs, "- Ia casa, \xBFlr?", "- Ia casa, \xBFIr?", "- la casa, \xBFIr?"},
        {kEs, "llamar", "Ilamar", "llamar"},  // rule 4 at an entry's start
        // No spelling known: the rules decide.
        {kEn, "- Iqzx", "- Iqzx", "- Iqzx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(repairIlWithDictionary(c.line, '.', c.language, nullptr), c.rules);
        EXPECT_EQ(repairIlWithDictionary(c.line, '.', c.language, &dictionary(c.language)),
                  c.dictionary);
    }
    // Through the entry's correction, only when the options ask for it.
    std::vector<std::string> lines{"- Ies", "- Ies"};
    correctEntryLines(lines, {false, true, kFr, false}, &dictionary(kFr));
    EXPECT_EQ(lines[0], "- Ies");
    correctEntryLines(lines, {false, true, kFr, true}, &dictionary(kFr));
    EXPECT_EQ(lines, (std::vector<std::string>{"- les", "- les"}));
}

TEST(ZeroORepair, NumbersWordsAndTheDictionary) {
    // Without a dictionary.
    EXPECT_EQ(repairZeroO("In 2O1O, 1O0 km and 6,OOO at 10:OO", nullptr),
              "In 2010, 100 km and 6,000 at 10:00");
    EXPECT_EQ(repairZeroO("B0NJ0UR! 0K? 0ui", nullptr), "BONJOUR! OK? Oui");
    EXPECT_EQ(repairZeroO("10h00 H2O R2D2 O 00 cl0se", nullptr), "10h00 H2O R2D2 O 00 cl0se");
    // With each language's dictionary: a word it knows decides.
    struct Case {
        IlLanguage language;
        const char* line;
        const char* repaired;
    };
    const Case cases[] = {
        {kEn, "cl0se the d00r, 0K", "close the door, OK"},
        {kFr, "N0\xEBl, v0us 3O ans", "No\xEBl, vous 30 ans"},
        {kDe, "Sch0n um 1O Uhr", "Schon um 10 Uhr"},
        {kEs, "C0m0 en 2OO5", "Como en 2005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(repairZeroO(c.line, &dictionary(c.language)), c.repaired);
    }
    // Only when asked, after the quote repair and before I/l.
    std::vector<std::string> lines{"''0K''"};
    correctEntryLines(lines, {true, false, kEn}, &dictionary(kEn));
    EXPECT_EQ(lines[0], "\"0K\"");
    correctEntryLines(lines, {false, false, kEn, true, true}, &dictionary(kEn));
    EXPECT_EQ(lines[0], "\"OK\"");
}

TEST(SpellingDictionary, TellsTwoWordsRunTogether) {
    const SpellingDictionary& en = dictionary(IlLanguage::English);
    EXPECT_TRUE(hasRunTogetherWords("Take care ofyourself.", en));
    EXPECT_TRUE(hasRunTogetherWords("it was ajoke,", en));
    // Known words, an apostrophe's word, a word no cut makes two, and a word
    // known once its I/l is repaired ("l" and "t" are letters the dictionary
    // knows).
    EXPECT_FALSE(hasRunTogetherWords("We'll fly to Lisbon, don't we?", en));
    EXPECT_FALSE(hasRunTogetherWords("Xqzvt", en));
    EXPECT_FALSE(hasRunTogetherWords("lt was late.", en));
    EXPECT_TRUE(
        hasRunTogetherWords(utf8ToCp1252("C'est tr\u00e8sbien"), dictionary(IlLanguage::French)));
}

TEST(SpellingDictionary, AMissingDictionarySaysWhereItLookedAndWhatToInstall) {
    const DictionaryLoad load = loadSpellingDictionary(kFr, "/nonexistent");
    EXPECT_FALSE(load.dictionary);
    EXPECT_NE(load.error.find("/nonexistent"), std::string::npos) << load.error;
    EXPECT_NE(load.error.find("fr_FR.aff"), std::string::npos) << load.error;
    EXPECT_NE(load.error.find("hunspell-fr"), std::string::npos) << load.error;
    EXPECT_TRUE(
        dictionary(kDe).knows("Stra\xDF"
                              "e"));  // Windows-1252 in, UTF-8 dictionary
    EXPECT_TRUE(
        dictionary(kFr).knows("\x9C"
                              "il"));  // œ, beyond Latin-1
    EXPECT_FALSE(dictionary(kDe).knows("Strasse3"));
}

}  // namespace
}  // namespace orvane
