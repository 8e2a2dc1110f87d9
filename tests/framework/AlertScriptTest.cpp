#include "framework/AlertScript.h"

#include <gtest/gtest.h>

#include "MapResourceSource.h"
#include "framework/AlertContent.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"

namespace quorvel {
namespace {

TEST(AlertScript, IconTitleMessageAndButtonSlots)
{
    const AlertRecord question = ParseAlertScript("[NOTE]Are your sure you want to remove this sampler?[No][Yes]");
    EXPECT_EQ(question.icon, AlertIcon::Note);
    EXPECT_EQ(question.title, "");
    EXPECT_EQ(question.message, "Are your sure you want to remove this sampler?");
    ASSERT_EQ(question.buttonCount, 2);
    EXPECT_EQ(question.buttons[0], "Yes");
    EXPECT_EQ(question.buttons[1], "No");

    const AlertRecord three = ParseAlertScript("[WARN][Exists!]\r\nReplace it?\r[Replace][Replace All][Cancel]");
    EXPECT_EQ(three.icon, AlertIcon::Warn);
    EXPECT_EQ(three.title, "Exists!");
    EXPECT_EQ(three.message, "Replace it?");
    EXPECT_EQ(three.buttons, (std::array<std::string, 3>{"Cancel", "Replace All", "Replace"}));

    // Without a known tag the script may still open with a title.
    const AlertRecord untagged = ParseAlertScript("[Too many slices!]Only the first %d slices.");
    EXPECT_EQ(untagged.icon, AlertIcon::None);
    EXPECT_EQ(untagged.title, "Too many slices!");
    EXPECT_EQ(untagged.message, "Only the first %d slices.");
    EXPECT_EQ(untagged.buttonCount, 0);

    const AlertRecord plain = ParseAlertScript("[STOP]Line one\rline two[OK]");
    EXPECT_EQ(plain.icon, AlertIcon::Stop);
    EXPECT_EQ(plain.message, "Line one\rline two");
}

TEST(AlertScript, MalformedScriptsStayInsideTheirSlots)
{
    const AlertRecord four = ParseAlertScript("[NONE]Pick one[A][B][C][D]");
    EXPECT_EQ(four.buttonCount, 3);
    EXPECT_EQ(four.buttons, (std::array<std::string, 3>{"C", "B", "A"}));

    const AlertRecord openTitle = ParseAlertScript("[STOP][No closing bracket");
    EXPECT_EQ(openTitle.title, "No closing bracket");
    EXPECT_EQ(openTitle.message, "");
    EXPECT_EQ(openTitle.buttonCount, 0);

    const AlertRecord openButton = ParseAlertScript("[NOTE]Message[OK");
    EXPECT_EQ(openButton.buttonCount, 1);
    EXPECT_EQ(openButton.buttons[0], "OK");

    EXPECT_EQ(ParseAlertScript(""), AlertRecord{});
}

TEST(AlertContent, ArgumentsFillTitleAndMessageButCannotChangeTheScript)
{
    CAlertContent alert("[STOP][Couldn't load \"^0\"!]Port ^1, card ^2, ^3 and ^4.[OK]");
    alert.AddArgument("loop [final].wav");
    alert.AddArgument("in]^0[out");
    alert.AddArgument("");
    const AlertRecord record = alert.Record();
    EXPECT_EQ(record.title, "Couldn't load \"loop (final).wav\"!");
    EXPECT_EQ(record.message, "Port in)~0(out, card , ^3 and ^4."); // no fourth argument: marker stays
    EXPECT_EQ(record.buttonCount, 1);
    EXPECT_EQ(record.buttons[0], "OK");
}

TEST(AlertContent, AtMostFourArgumentsOfSixtyFourCharacters)
{
    CAlertContent alert("^0|^1|^2|^3|^4");
    for (const char* argument : {"a", "b", "c", "d", "e"})
        alert.AddArgument(argument);
    EXPECT_EQ(alert.ArgumentCount(), 4u);
    EXPECT_EQ(alert.Record().message, "a|b|c|d|^4");

    EXPECT_EQ(GuardAlertArgument(std::string(70, 'x')), std::string(64, 'x'));
    // "é" is two bytes; the cut never leaves half of one behind.
    const std::string accented = std::string(63, 'x') + "\xC3\xA9" + "yz";
    EXPECT_EQ(GuardAlertArgument(accented), std::string(63, 'x'));
}

TEST(AlertContent, ScriptsComeFromReferencesOrLiteralsCutTo255)
{
    test::MapResourceSource source;
    source.Add("SALR", 129, "17{[STOP]File \"^0\" not found.[OK]}");
    CTextResources resources(source);
    CAlertContent fromTable = CAlertContent::FromReference(resources, AlertReference(129, 17));
    fromTable.AddArgument("a.wav");
    EXPECT_EQ(fromTable.Record().message, "File \"a.wav\" not found.");

    EXPECT_EQ(CAlertContent(std::string(300, 'm')).Script().size(), kMaxAlertScript);
}

} // namespace
} // namespace quorvel
