// The texts built into the program, read back through the real lookup path.
#include <gtest/gtest.h>

#include <set>

#include "framework/AlertScript.h"
#include "framework/EmbeddedResources.h"
#include "framework/MenuScript.h"
#include "framework/ResourceReference.h"

namespace quorvel {
namespace {

struct Quoted {
    uint32_t reference;
    const char* text;
};

// Texts other code, the manual and the tests rely on word for word.
const Quoted kStrings[] = {
    {401000010, "Stop"}, {401000011, "Cancel"}, {401000012, "OK"}, {401000013, "Yes"}, {401000014, "No"},
    {400129000, "Cancel"}, {400129001, "Cancelled!"}, {400129002, "n/a"}, {400129003, "Note"},
    {400129004, "Stop"}, {400129005, "Initializing..."}, {400129006, "Skip"}, {400129007, "Delete"},
    {400129008, "On"}, {400129009, "Off"}, {400129010, "Open Sound File"}, {400129011, "Save Quorvel! Document"},
    {400129012, "Export Sound"}, {400129013, "Export MIDI File"}, {400129014, "Export QLX File"},
    {400129015, "Pick a Color:"}, {400129020, "Examining sound..."}, {400129021, "Slices left:"},
    {400129022, "Sound Export cancelled!"}, {400129023, "QLX-file Export cancelled!"},
    {400129024, "Sample Transmit cancelled!"}, {400129025, "Sample Receive cancelled!"},
    {400129026, "Deleting Sample:"}, {400129027, "Receiving Sample data:"}, {400129028, "Samplers left to check:"},
    {400129029, "Samplers left to check:\r(Looking for \"%s\")"}, {400129036, "No MIDI available"},
    {400129037, "No SCSI available"}, {400129040, "My "}, {400129041, "Scanning for SCSI samplers..."},
    {400129042, "Scanning for MIDI samplers..."}, {400129047, "V%1d.%02.2ld"},
    {400129049, "No information available."}, {400129050, "Unknown"}, {400129051, "Cannot be detected."},
    {400129052, "Double sampler found"}, {400129061, "%d: Not Ready"}, {400129062, "%d: ???"},
    {400129063, "%d: Host Adapter"},
    {400129064, "[NOTE]The operating system in your %s sampler (Sysex ID %d) is too old (version %1d.%02.2ld).\rThe "
                "required OS version is %1d.%02.2ld![OK]"},
    {400129069, "This sampler seems to be identical to \"%s\", which is already installed in your system!"},
    {400129080, "New Tempo:"}, {400129081, "Stretch:"}, {400129082, "Sens:"}, {400129083, "Bars:"},
    {400129084, "+ Beats:"}, {400129085, "Sign:"}, {400129086, "Tempo:"}, {400129087, "BPM:"},
    {400129088, "44.1 kHz"}, {400129089, "48 kHz"},
    {400129200, "Stop"}, {400129201, "Play loop"}, {400129202, "Play previous slice"},
    {400129203, "Play current slice"}, {400129204, "Play slice and move to next"}, {400129205, "Stretch amount"},
    {400129206, "Transmit as one sample"}, {400129207, "Transmit normalized"}, {400129208, "Silence selected"},
    {400129209, "Pitch mode (tune to fit New tempo)"}, {400129210, "New tempo"}, {400129211, "Transmit"},
    {400129212, "Arrow tool"}, {400129213, "Hide tool"}, {400129214, "Lock tool"}, {400129215, "Pen tool"},
    {400129216, "Sensitivity amount"}, {400129217, "Bar length"}, {400129218, "Beat length"},
    {400129219, "Time signature"}, {400129220, "Calculated tempo"},
    {400130020, "&Quit\tCtrl+Q"},
    {400133002, "Receive from "}, {400133003, "Transmit not Available"}, {400133004, "Receive not Available"},
    {400133006, "Open Slices in New Windows"}, {400133010, "Export as SampleCell"},
    {400133020, "Export as SoundFont File"}, {400133025, "Export as Mixman TRK File"},
    {400133100, "New Window"}, {400133101, "SampleCell"}, {400133102, "SoundFonts"}, {400133103, "Mixman TRK File"},
    {400133110, "Kurzweil K2000 via MIDI"}, {400133111, "Kurzweil K2000 via MIDI+SCSI"},
    {400133112, "Kurzweil K2500 via MIDI"}, {400133113, "Kurzweil K2500 via MIDI+SCSI"},
    {400133120, "AKAI S1000 via MIDI"}, {400133122, "AKAI S1100 via MIDI"}, {400133124, "AKAI S2000 via MIDI"},
    {400133125, "AKAI S2000 via SCSI"}, {400133126, "AKAI S2800 via MIDI"}, {400133128, "AKAI S3000 via MIDI"},
    {400133130, "AKAI CD3000 via MIDI"}, {400133132, "AKAI S3000XL via MIDI"}, {400133133, "AKAI S3000XL via SCSI"},
    {400133134, "AKAI CD3000XL via MIDI"}, {400133135, "AKAI CD3000XL via SCSI"},
    {400133136, "AKAI S3200 via MIDI"}, {400133138, "AKAI S3200XL via MIDI"}, {400133139, "AKAI S3200XL via SCSI"},
    {400133150, "Roland S-760 via MIDI"}, {400133160, "Ensoniq EPS via MIDI"},
    {400133162, "Ensoniq EPS-16+ via MIDI"}, {400133164, "Ensoniq ASR-10/ASR-88 via MIDI"},
    {400133170, "Yamaha A3000 via MIDI"}, {400133171, "Yamaha A3000 via MIDI+SCSI"},
    {400133181, "E-mu ESI-32 via SCSI"}, {400133183, "E-mu ESI-4000 via SCSI"},
    {400133191, "E-mu EOS Sampler via SCSI"}, {400133193, "E-mu Emulator IV via SCSI"},
    {400133195, "E-mu E4K via SCSI"}, {400133197, "E-mu E4X via SCSI"}, {400133199, "E-mu E4X Turbo via SCSI"},
    {400133201, "E-mu E4XT Ultra via SCSI"}, {400133211, "E-mu e-64 via SCSI"}, {400133213, "E-mu e-64fx via SCSI"},
    {400133215, "E-mu e-6400 via SCSI"}, {400133217, "E-mu e-6400 Ultra via SCSI"},
    {400133221, "E-mu E-Synth via SCSI"}, {400133223, "E-mu E-Synth Ultra via SCSI"},
    {400133650, "The S-760 must be in Performance mode when you use it with Quorvel!"},
    {400133651, "The S-760 must be in Performance mode when you use it with Quorvel!"},
    {400133660, "Make sure your EPS is NOT in Load mode when using it with Quorvel!"},
    {400133662, "Make sure your EPS-16+ is NOT in Load mode when using it with Quorvel!"},
    {400133664, "Make sure your ASR-10/88 is NOT in Load mode when using it with Quorvel!"},
    {400133670, "Remember to turn off the MIDI Bulk Protect switch before Transmitting to the A3000!"},
    {400133671, "Remember to turn off the MIDI Bulk Protect switch before Transmitting to the A3000!"},
};

// Whole alert scripts, icon and buttons included.
const Quoted kScripts[] = {
    {501000000, "[STOP]Not enough memory to complete operation![OK]"},
    {501000001, "[STOP]Not enough memory for dialog or window![OK]"},
    {500129005, "[NOTE]No SCSI available! Please check your SCSI interface installation and try again. [OK]"},
    {500129007, "[STOP]No sound card could be opened! Please check your audio card or quit other audio "
                "applications.[OK]"},
    {500129012, "[NOTE]The selected sound card \"^0\" could not be opened! Please quit other audio programs and/or "
                "check the card. [OK]"},
    {500129016, "[NOTE]Do you want to move the left locator to the first slice point?[No][Yes]"},
    {500129017, "[STOP]File not found.[OK]"},
    {500129019, "[STOP][Could not use the sound channel.]Some other application seems to have taken control of the "
                "sound channel previously used.[Disable sound][Try other][Retry]"},
    {500129042, "[STOP][Failed saving slice(s) to disk!]You may have run out of memory or disk space.[OK]"},
    {500129043, "[STOP][Failed exporting QLX file!]You may have run out of memory or disk space.[OK]"},
    {500129044, "[STOP][Failed creating MIDI file!]You may have run out of memory or disk space.[OK]"},
    {500129050, "[NOTE][Too many slices!]Only the first %d slices will be included in the MIDI file. Do you wish to "
                "continue?[Cancel][OK]"},
    {500129060, "[NOTE]Are your sure you want to remove this sampler?[No][Yes]"},
    {500129090, "[STOP][Couldn't create new window!]There is not enough memory to create a window for the Received "
                "sample! Please close other windows and try again.[OK]"},
    {500129091, "[STOP][Operation rejected by sampler!]Please check your sampler OS version and settings and try "
                "again.[OK]"},
    {500129092, "[NOTE][The specified sample does not exist!]Specify a different sample and try again.[OK]"},
    {500129094, "[STOP][Internal error!]Contact technical support for advice.[OK]"},
    {500129095, "[STOP][Sampler communication error!]Please check your sampler OS version and settings, then try "
                "again.[OK]"},
    {500129096, "[STOP][SCSI communication failed!]Please check your connections and settings, then try again![OK]"},
    {500129097, "[STOP][MIDI communication failed!]Please check your connections and settings, then try again![OK]"},
    {500129401, "[STOP]This version of Quorvel! requires Windows95/98 or NT 4.0 or later. Please upgrade your "
                "operating system and try again.[Quit]"},
    {500129402, "[WARN]The SCSI device named \"^0\" is disabled. You may have done this to be able run a previous "
                "version of Quorvel!.\rDo you want to open the \"System\" Control Panel to be able activate this "
                "SCSI device?[No][Yes]"},
    {500132000, "[NOTE]You are about to open ^0 windows.\rAre you sure you want to do this?[No][Yes]"},
    {500132001, "[STOP]There is not enough memory left to create another Sample window![OK]"},
    {500132002, "[NOTE]Too many slices!\rYou've got %d slices, but the sampler can only use %d. Would you like to use "
                "the first %d slices?[Cancel][OK]"},
    {500132003, "[NOTE]There is not enough memory left in the sampler to complete the operation![OK]"},
    {500132020, "[NOTE]Do you want to replace this Program, its 1st Keymap in the 1st layer and all samples in that "
                "Keymap?[Cancel][Replace]"},
    {500132021, "[NOTE]Couldn't get template from sampler! Do you want to use default values?[No][Yes]"},
    {500132022, "[NOTE]No template program specified! Do you want to use default values?[No][Yes]"},
    {500132023, "[NOTE]The specified template program does not exist! Do you want to use default values?[No][Yes]"},
    {500132024, "[NOTE]No destination program ID specified! Please specify an ID and try again.[OK]"},
    {500132025, "[WARN]There may be Keymaps and samples left in memory that are not assigned to any Program![OK]"},
    {500132026, "[NOTE]No Program name specified! Type a name in the 'Program Name' field, then try again.[OK]"},
    {500132030, "[NOTE]A Patch named \"^0\" already exists in the S-760. Would you like to replace it?\r(This will "
                "delete the Patch and all its Partials and samples!)[Cancel][Replace]"},
    {500132031, "[STOP]A name conflict occured. A partial called \"^0\" already exists. Please rename the Patch and "
                "Transmit again.[OK]"},
    {500132032, "[STOP]A name conflict occured. A sample called \"^0\" already exists. Please rename the Patch and "
                "Transmit again.[OK]"},
    {500132034, "[NOTE]Couldn't retrieve template from sampler! Do you want to use default values?[No][Yes]"},
    {500132035, "[NOTE]No Patch name specified! Type a name in the 'Patch Name' field, then try again.[OK]"},
    {500132036, "[NOTE]Some Partials/Samples that this Patch refers to were deleted!\rThe Patch may not sound like "
                "it used to.[OK]"},
    {500132037, "[WARN]Some Partials/Samples were not Transmitted!\rThe Patch is incomplete.[OK]"},
    {500132038, "[NOTE]There are no free Patches in the S-760! Please delete at least one Patch, then try again.[OK]"},
    {500132039, "[NOTE]There are not enough free Partials in the S-760! Please delete at least ^0 Partials, then "
                "try again.[OK]"},
    {500132040, "[NOTE]There are not enough free samples in the S-760! Please delete at least ^0 samples, then try "
                "again.[OK]"},
    {500132050, "[NOTE]A Program named \"^0\" already exists! Would you like to replace it?\r(This will delete the "
                "Program and all its samples!)[Cancel][Replace]"},
    {500132051, "[NOTE]A sample named \"^0\" already exists! Please rename the Program you are transmitting.[OK]"},
    {500132052, "[NOTE]No Program name specified! Type a name in the 'Program Name' field, then try again.[OK]"},
    {500132053, "[NOTE]Couldn't retrieve template from the sampler! Do you want to use default values?[No][Yes]"},
    {500132054, "[WARN]There may be samples left in memory that are not assigned to any Program![OK]"},
    {500132055, "[WARN]Some samples were not Transmitted!\rThe Program is incomplete.[OK]"},
    {500132060, "[NOTE]No Sample Bank name specified! Type a name in the 'Sample Bank Name' field, then try "
                "again.[OK]"},
    {500132061, "[STOP]A Sample Bank named \"^0\" already exists! Please delete it manually and try again.[OK]"},
    {500132062, "[STOP]A sample named \"^0\" already exists! Please delete it manually and try again.[OK]"},
    {500132063, "[WARN]There are samples left in memory in the A3000, that are not assigned to any Sample Bank![OK]"},
    {500132064, "[WARN]Some samples were not Transmitted!\rThe Sample Bank is inconsistent.[OK]"},
    {500132065, "[NOTE]Couldn't retrieve template from the sampler! Do you want to use default values?[No][Yes]"},
    {500132070, "[NOTE]No sample name specified!\rType a name in the 'Sample Name' field, then try again.[OK]"},
    {500132071, "[NOTE]No start sample number specified!\rSpecify a number, then try again.[OK]"},
    {500132072, "[NOTE]No sample number specified!\rSpecify a number, then try again.[OK]"},
    {500132080, "[STOP]Failed creating Instrument! Please check your sampler and try again.[OK]"},
    {500132081, "[NOTE]This Instrument already exists in the sampler! Would you like to replace it?[Cancel][Replace]"},
    {500132082, "[NOTE]No Instrument name specified! Type a name in the 'Instrument Name' field, then try "
                "again.[OK]"},
};

// Alerts known by what they show, "[Title]Message", and where it matters by
// their buttons in the order listed.
struct QuotedAlert {
    uint32_t reference;
    const char* shown;
    const char* buttons = nullptr;
};

const QuotedAlert kAlerts[] = {
    {500129001, "No sound available!"},
    {500129004, "No MIDI available!"},
    {500129008, "An error occurred while reading your Preference file. Some settings will differ from the last time "
                "you ran Quorvel!"},
    {500129009, "[Reading QLX files is not supported!]QLX files can only be exported from Quorvel! and used in "
                "other applications."},
    {500129010, "[Couldn't read Preferences file!]The file may be corrupt."},
    {500129011, "[Couldn't write Preferences file!]Program settings could not be saved."},
    {500129018, "[The file already exists!]There is already a file by the name \"^0\". Click 'Replace' to "
                "overwrite this slice only, or 'Replace All' to overwrite all slices.",
     "[Replace][Replace All][Cancel]"},
    {500129020, "Sound files may not be longer than 5 minutes."},
    {500129021, "Quorvel! only supports 16-bit audio files."},
    {500129022, "Quorvel! only supports Mono and Stereo sound files."},
    {500129023, "Auto-play is limited to 30-second files."},
    {500129024, "[Couldn't load sound file!]The file is in an unknown format or corrupt."},
    {500129025, "[Couldn't load sound file \"^0\"!]The file is in an unknown format or corrupt."},
    {500129026, "[Couldn't load Quorvel! document file!]The file may be damaged."},
    {500129027, "[Couldn't load Quorvel! document file!]The Quorvel! information in this file is damaged. "
                "Extracting audio..."},
    {500129028, "[Couldn't load Quorvel! document file!]This file was created by a later version of Quorvel! "
                "Extracting audio..."},
    {500129030, "[Can't find MIDI In port \"^0\"!]Your MIDI setup has changed. Please reconfigure your Sampler "
                "Settings."},
    {500129034, "[Sampler not supported!]Your sampler \"^0\" is not supported by this version of Quorvel!\rIt will "
                "be removed from your Preferences file."},
    {500129035, "The sampler \"^0\" can't be reached. To find it automatically, click Find. Alternatively, click "
                "Skip and open the Sampler Settings dialog.",
     "[Retry][Find][Skip]"},
    {500129036, "[Sampler verification canceled!]Quorvel! has not checked that all your samplers are on-line. "
                "Some samplers may not work during this session."},
    {500129045, "[Failed saving Quorvel! document!]You may have run out of memory or disk space."},
    {500129046, "Can't open MIDI in port \"^0\"! Please make sure another application isn't using it."},
    {500129050, "[Too many slices!]Only the first %d slices will be included in the MIDI file. Do you wish to "
                "continue?",
     "[Cancel][OK]"},
    {500129063, "[Search not completed!]Some MIDI ports were unavailable. If your sampler wasn't found, quit other "
                "applications holding on to the MIDI ports, and try again."},
    {500129064, "You must specify a name for the sampler!"},
    {500129080, "[No samplers found!]Please check your sampler and your MIDI and/or SCSI configurations and try "
                "again."},
    {500129083, "[MIDI connection missing!]A sampler of type \"^0\" was found via SCSI but not via MIDI. A MIDI "
                "connection is required for this sampler. Check your setup and try again!"},
    {500129093, "[Couldn't export the file!]This may be because the disk is full! Please free up some space or "
                "select another disk."},
    {500129098, "Some items were removed from the recently used documents list, because the corresponding "
                "documents couldn't be found."},
    {500129100, "No Internet browser found."},
    {500132010, "Can't read SampleCell Template file! The file may be damaged."},
    {500132011, "Failed creating SampleCell Instrument file! Please make sure there is enough free disk space and "
                "try again."},
    {500132012, "Couldn't export in SampleCell format! You may have run out of memory or disk space."},
    {500132013, "Too many slices!\rYou've got %d slices, but the limit for SampleCell is %d. Would you like to "
                "export the first %d slices?",
     "[Cancel][OK]"},
    {500132014, "[Couldn't export SoundFont file!]You may have run out of memory or disk space."},
    {500132015, "[Too many slices!]You've got %d slices, but the limit for a SoundFont bank created by Quorvel! is "
                "%d. Would you like to export the first %d slices?",
     "[Cancel][OK]"},
    {500132016, "[Couldn't export Mixman TRK file!]You may have run out of memory or disk space."},
    {500132017, "[Too many slices!]You've got %d slices, but the limit for a Mixman TRK file is %d. Would you like "
                "to export the first %d slices?",
     "[Cancel][OK]"},
    {500132018, "[Time signature is not 4/4!]In order to get a correct Tempo readout in Mixman, please set the time "
                "signature in Quorvel! to 4/4."},
};

std::string Shown(const AlertRecord& record)
{
    return record.title.empty() ? record.message : "[" + record.title + "]" + record.message;
}

std::string ListedButtons(const AlertRecord& record)
{
    std::string listed;
    for (int slot = record.buttonCount - 1; slot >= 0; --slot)
        listed += "[" + record.buttons[static_cast<size_t>(slot)] + "]";
    return listed;
}

TEST(BuiltInTexts, StringsAndScriptsReadBackWordForWord)
{
    CTextResources& texts = BuiltInTextResources();
    for (const Quoted& quoted : kStrings)
        EXPECT_EQ(texts.Text(quoted.reference), quoted.text) << quoted.reference;
    for (const Quoted& quoted : kScripts)
        EXPECT_EQ(texts.AlertScript(quoted.reference), quoted.text) << quoted.reference;
    for (const QuotedAlert& quoted : kAlerts) {
        const AlertRecord record = ParseAlertScript(texts.AlertScript(quoted.reference));
        EXPECT_EQ(Shown(record), quoted.shown) << quoted.reference;
        if (quoted.buttons) {
            EXPECT_EQ(ListedButtons(record), quoted.buttons) << quoted.reference;
        }
    }
}

TEST(BuiltInTexts, EveryAlertScriptIsCompleteWithinTheAlertBoxLimit)
{
    CTextResources& texts = BuiltInTextResources();
    int scripts = 0;
    for (uint32_t table : {129u, 132u, kFrameworkTable}) {
        for (uint32_t entry = 0; entry < kResourceEntries; ++entry) {
            const std::string whole = texts.Text(AlertReference(table, entry));
            if (whole.empty())
                continue;
            ++scripts;
            SCOPED_TRACE(whole);
            EXPECT_LE(whole.size(), kMaxAlertScript);
            EXPECT_TRUE(whole.starts_with("[STOP]") || whole.starts_with("[NOTE]") || whole.starts_with("[WARN]"));
            const AlertRecord record = ParseAlertScript(whole);
            EXPECT_GE(record.buttonCount, 1); // an alert nobody can dismiss is useless
            EXPECT_FALSE(record.message.empty());
        }
    }
    EXPECT_GT(scripts, 100);
}

struct ExpectedItem {
    const char* text; // nullptr: any text
    uint32_t command;
    char accelerator;
};

void ExpectMenu(uint32_t entry, const char* title, std::vector<ExpectedItem> expected)
{
    const MenuRecord menu = ParseMenuScript(BuiltInTextResources().MenuScript(MenuReference(128, entry)));
    SCOPED_TRACE(title);
    EXPECT_EQ(menu.title, title);
    std::vector<MenuItemRecord> items;
    std::set<char> mnemonics;
    for (const MenuItemRecord& item : menu.items) {
        if (item.kind == MenuItemKind::Separator)
            continue;
        items.push_back(item);
        if (item.command) {
            // Help topics run parallel to the commands: 1000 -> 100000, 1406 -> 104060.
            EXPECT_EQ(item.help, 100000 + (item.command - 1000) * 10) << item.text;
            EXPECT_NE(MenuItemLabel(item).find('&'), std::string::npos) << item.text;
            EXPECT_TRUE(mnemonics.insert(item.mnemonic).second) << "mnemonic used twice: " << item.text;
        }
    }
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (expected[i].text) {
            EXPECT_EQ(items[i].text, expected[i].text);
        }
        EXPECT_EQ(items[i].command, expected[i].command) << items[i].text;
        EXPECT_EQ(items[i].accelerator, expected[i].accelerator) << items[i].text;
    }
}

TEST(BuiltInTexts, MenusCarryTheirCommandsAndShortcuts)
{
    ExpectMenu(1, "File",
               {{"Open...", 1000, 'O'}, {"Close", 1001, 'W'}, {"Save", 1002, 'S'}, {"Save As...", 1003, 0},
                {"Export Sound...", 1005, 0}, {"Export Groove MIDI File...", 1006, 0},
                {"Export Quorvel! QLX File...", 1007, 'B'}, {"Export SFZ Instrument...", 1600, 0},
                {"Export Hydrogen Drum Kit...", 1601, 0}, {"Quit", 1008, 'Q'}});
    ExpectMenu(2, "Edit",
               {{"Magnify to Fit", 1100, 'F'}, {"Magnify to Fit Loop", 1101, 'L'}, {"Select All", 1102, 'A'},
                {"Invert Selection", 1103, 0}, {"Preferences...", 1104, 0}, {"Sampler Settings...", 1105, 0}});
    ExpectMenu(3, "Sampler",
               {{"Transmit...", 1200, 'T'}, {"Receive...", 1201, 'R'}, {"Pitch to New Tempo", 1202, 0},
                {"Transmit as One Sample", 1203, 0}, {"Normalize", 1204, 0}, {"Silence Selected", 1205, 0}});
    ExpectMenu(4, "Help",
               {{"Contents", 1400, 0}, {nullptr, 1401, 0}, {nullptr, 1402, 0}, {"Download Drum Loops...", 1403, 0},
                {"Quorvel! Tech Info and Support...", 1404, 0}, {"System Information...", 1405, 0},
                {"About Quorvel!...", 1406, 0}});
    ExpectMenu(7, "Windows",
               {{"Cascade", 1501, 0}, {"Tile Horizontally", 1502, 0}, {"Tile Vertically", 1503, 0},
                {"Close All", 1504, 0}, {"Resize Application Window to Documents", 1505, 0}});
    ExpectMenu(8, "Waveform Type", {{"Plain", 0, 0}, {"3D", 0, 0}, {"Shaded", 0, 0}});
    ExpectMenu(9, "Beats",
               {{"0", 0, 0}, {"1", 0, 0}, {"2", 0, 0}, {"3", 0, 0}, {"4", 0, 0}, {"5", 0, 0}, {"6", 0, 0}, {"7", 0, 0}});
    ExpectMenu(10, "Time Signature",
               {{"2/4", 0, 0}, {"3/4", 0, 0}, {"4/4", 0, 0}, {"5/4", 0, 0}, {"6/8", 0, 0}, {"7/8", 0, 0}});
}

} // namespace
} // namespace quorvel
