#include "evaluation/ranking/Decisions.h"

#include <gtest/gtest.h>

namespace {

using evaluation::Decisions;
using evaluation::InputPrint;

// A name is bytes: separators, line breaks and '%' come back as they were;
// the text stays one decision a line.
TEST(Decisions, ReadBackAsWrittenWhateverTheNames)
{
    Decisions decisions;
    decisions.exclusions = {{"a;b%41\r\nc.jpg", "beschädigt; sagt Anna"}, {"12.jpg", ""}};
    decisions.final = evaluation::FinalDeclaration{"08.12.2026", {{"", 1}, {"Jö;x.qel", ~0ULL}}};
    const std::string text = evaluation::decisionsText(decisions);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6) << text;
    EXPECT_NE(text.find("Ausgeschlossen;12.jpg;\r\n"), std::string::npos) << text;
    const Decisions back = evaluation::parseDecisions(text + "Unsinn\r\nStand;zz;x\r\n");
    ASSERT_EQ(back.exclusions.size(), 2u);
    EXPECT_EQ(back.exclusions[0].picture, decisions.exclusions[0].picture);
    EXPECT_EQ(back.exclusions[0].reason, decisions.exclusions[0].reason);
    ASSERT_TRUE(back.final);
    EXPECT_EQ(back.final->date, "08.12.2026");
    EXPECT_EQ(back.final->inputs, decisions.final->inputs);
    // Excluding again or taking in drops the declaration: the ranking is another one.
    Decisions changed = back;
    evaluation::setExclusion(changed, "12.jpg", std::nullopt);
    EXPECT_EQ(changed.exclusions.size(), 1u);
    EXPECT_FALSE(changed.final);
}

TEST(Decisions, SaysWhatChangedSinceTheDeclaration)
{
    const evaluation::FinalDeclaration declared{"08.12.2026",
                                                {{"", 1}, {"Anna.qel", 2}, {"Bo.qel", 3}}};
    const std::string since = "Seit der endgültigen Rangliste vom 08.12.2026 ";
    const struct {
        std::vector<InputPrint> now;
        std::vector<std::string> changes;
    } cases[] = {
        {{{"", 1}, {"Anna.qel", 2}, {"Bo.qel", 3}}, {}},
        {{{"", 1}, {"Anna.qel", 5}, {"Bo.qel", 3}, {"Cem.qel", 4}},
         {since + "wurde die Bewertungsdatei 'Anna.qel' geändert – wieder vorläufig",
          since + "kam die Bewertungsdatei 'Cem.qel' hinzu – wieder vorläufig"}},
        {{{"", 9}, {"Anna.qel", 2}},
         {since + "wurden Bilder oder Qel.max geändert – wieder vorläufig",
          since + "fehlt die Bewertungsdatei 'Bo.qel' – wieder vorläufig"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evaluation::changesSince(declared, c.now), c.changes);
}

} // namespace
