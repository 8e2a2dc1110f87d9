// The pane with its views on a real document, driven by simulated mouse
// input; the window's side is a fake that records what the views report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <vector>

#include "document/SoundDocument.h"
#include "ui/ApplicationPreferences.h"
#include "ui/views/OffScreenCache.h"
#include "ui/views/RangeScaleView.h"
#include "ui/views/SampleOverView.h"
#include "ui/views/SampleSliceView.h"
#include "ui/views/SliceView.h"
#include "ui/views/ViewActions.h"
#include "ui/views/WaveformPane.h"

namespace quorvel {
namespace {

class CFakeActions : public CViewActions {
public:
    void SliceHandlePressed(CSlice& slice, bool shift) override { handles.push_back({slice.position, shift}); }
    void SliceStripEmptyPressed(bool shift) override { emptyPresses.push_back(shift); }
    void SliceStripDragged(int32_t from, int32_t to) override { drags.push_back({from, to}); }
    void WaveformClicked(int32_t frame) override { clicks.push_back(frame); }
    void PenReleased(int32_t frame) override { penFrames.push_back(frame); }
    void LocatorsMoved(bool leftHandleDragged) override { locatorMoves.push_back(leftHandleDragged); }
    void VisibleRangeChanged() override { ++rangeChanges; }
    int32_t CursorPosition() override { return cursor; }
    bool Playing() override { return playing; }

    std::vector<std::pair<int32_t, bool>> handles;
    std::vector<bool> emptyPresses;
    std::vector<std::pair<int32_t, int32_t>> drags;
    std::vector<int32_t> clicks;
    std::vector<int32_t> penFrames;
    std::vector<bool> locatorMoves;
    int rangeChanges = 0;
    int32_t cursor = 0;
    bool playing = false;
};

constexpr int32_t kLength = 441000;
constexpr int kWidth = 640;

std::unique_ptr<CSoundDocument> MakeDocument()
{
    auto sound = std::make_unique<WAVE_SAMPLE>("pane", 44100, kLength);
    // A slow wave with sign changes every 1000 frames.
    for (int32_t i = 0; i < kLength; ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>((i / 1000) % 2 ? -8000 : 8000));
    std::vector<StoredSlice> slices;
    for (int32_t position : {0, 110250, 220500, 330750})
        slices.push_back({static_cast<int32_t>(SliceState::Locked), false, position, kPenSliceStrength});
    return std::make_unique<CSoundDocument>(std::move(sound), StoredDocumentSettings{}, slices);
}

class WaveformPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        document = MakeDocument();
        pane = std::make_unique<CWaveformPane>(*document, actions, preferences);
        pane->resize(kWidth, 300);
        pane->show();
        QCoreApplication::processEvents();
        actions.rangeChanges = 0;
        waveform = pane->findChild<CSampleSliceView*>();
        strip = pane->findChild<CSliceView*>();
        ruler = pane->findChild<CRangeScaleView*>();
        overview = pane->findChild<CSampleOverView*>();
        ASSERT_TRUE(waveform && strip && ruler && overview);
    }
    void Paint()
    {
        pane->grab();
    }
    int XOf(int32_t frame) const { return pane->Visible().PixelOfFrame(frame); }

    SApplicationPreferences preferences;
    CFakeActions actions;
    std::unique_ptr<CSoundDocument> document;
    std::unique_ptr<CWaveformPane> pane;
    CSampleSliceView* waveform = nullptr;
    CSliceView* strip = nullptr;
    CRangeScaleView* ruler = nullptr;
    CSampleOverView* overview = nullptr;
};

TEST_F(WaveformPaneTest, ViewsShareOneSnappedStretch)
{
    EXPECT_EQ(waveform->width(), kWidth);
    const TimeWindow& visible = pane->Visible();
    EXPECT_EQ(visible.visibleStart, 0);
    EXPECT_EQ(visible.FramesPerPixel(), 690); // ceil(441000 / 640)
    EXPECT_EQ(visible.VisibleSpan(), kLength) << "the whole sound, not columns past its end";
    pane->ZoomIn();
    EXPECT_EQ(pane->Visible().FramesPerPixel(), 345);
    EXPECT_EQ(pane->Visible().visibleStart % 345, 0);
    EXPECT_EQ(strip->Window().visibleStart, pane->Visible().visibleStart);
    EXPECT_EQ(ruler->Window().visibleEnd, pane->Visible().visibleEnd);
    EXPECT_EQ(actions.rangeChanges, 1);
    pane->SetVisible(1000, 1100); // deeper than one frame per pixel is not possible
    EXPECT_EQ(pane->Visible().FramesPerPixel(), 1);
    EXPECT_EQ(pane->Visible().VisibleSpan(), kWidth);
    pane->ShowLoop();
    EXPECT_EQ(pane->Visible().visibleStart, 0);
}

TEST_F(WaveformPaneTest, WaveformClicksPlayOrZoom)
{
    QTest::mouseClick(waveform, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    ASSERT_EQ(actions.clicks.size(), 1u);
    EXPECT_EQ(actions.clicks[0], 100 * kLength / kWidth); // the whole sound spread over the width

    QTest::mouseClick(waveform, Qt::LeftButton, Qt::ControlModifier, QPoint(320, 50));
    EXPECT_EQ(actions.clicks.size(), 1u); // a magnify click does not play
    EXPECT_EQ(pane->Visible().FramesPerPixel(), 345);
    const int32_t middle = (pane->Visible().visibleStart + pane->Visible().visibleEnd) / 2;
    EXPECT_NEAR(middle, 220800, 345);

    QTest::mouseClick(waveform, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, QPoint(10, 50));
    EXPECT_EQ(pane->Visible().FramesPerPixel(), 690);
}

TEST_F(WaveformPaneTest, PenSnapsToAZeroCrossingUnlessAltIsHeld)
{
    document->SetTool(DocumentTool::Pen);
    pane->ToolChanged();
    pane->SetVisible(0, kWidth * 2); // two frames per pixel
    QTest::mouseClick(waveform, Qt::LeftButton, Qt::NoModifier, QPoint(490, 50)); // frame 980
    ASSERT_EQ(actions.penFrames.size(), 1u);
    EXPECT_EQ(actions.penFrames[0], document->Sound()->FindZeroCrossing(980, 300));
    EXPECT_EQ(actions.penFrames[0], 1000);
    QTest::mouseClick(waveform, Qt::LeftButton, Qt::AltModifier, QPoint(490, 50));
    ASSERT_EQ(actions.penFrames.size(), 2u);
    EXPECT_EQ(actions.penFrames[1], 980);
    // Onto an existing slice: no preview, nothing reported.
    QTest::mouseClick(waveform, Qt::LeftButton, Qt::AltModifier, QPoint(0, 50));
    EXPECT_EQ(actions.penFrames.size(), 2u);
    EXPECT_TRUE(actions.clicks.empty());
}

TEST_F(WaveformPaneTest, SliceStripReportsHandlesEmptyPressesAndDrags)
{
    const int bottom = strip->height() - 1;
    QTest::mouseClick(strip, Qt::LeftButton, Qt::ShiftModifier, QPoint(XOf(110250) + 2, bottom));
    ASSERT_EQ(actions.handles.size(), 1u);
    EXPECT_EQ(actions.handles[0], (std::pair<int32_t, bool>{110250, true}));

    QTest::mousePress(strip, Qt::LeftButton, Qt::NoModifier, QPoint(400, bottom));
    QTest::mouseMove(strip, QPoint(300, bottom));
    QTest::mouseRelease(strip, Qt::LeftButton, Qt::NoModifier, QPoint(300, bottom));
    ASSERT_EQ(actions.emptyPresses, std::vector<bool>{false});
    ASSERT_FALSE(actions.drags.empty());
    EXPECT_EQ(actions.drags.back(), (std::pair<int32_t, int32_t>{300 * kLength / kWidth, 400 * kLength / kWidth}));
}

TEST_F(WaveformPaneTest, RulerMovesLocatorsKeeping256FramesApart)
{
    // Shift sets the left locator, snapped to the nearest slice.
    QTest::mouseClick(ruler, Qt::LeftButton, Qt::ShiftModifier, QPoint(XOf(100000), 20));
    EXPECT_EQ(document->Sound()->LoopStart(), 110250);
    EXPECT_EQ(actions.locatorMoves, std::vector<bool>{false});

    // Drag the right handle onto the left one: it stops 256 frames after it.
    pane->SetVisible(110000, 110000 + kWidth); // one frame per pixel
    ruler->update();
    pane->SetVisible(document->Sound()->LoopStart() - 100, document->Sound()->LoopStart() - 100 + kWidth);
    document->SetLocators(110250, 110250 + 500);
    pane->LocatorsChanged();
    const int rightX = XOf(110750);
    const int y = ruler->height() - 3; // the handles stand on the bottom edge
    QTest::mousePress(ruler, Qt::LeftButton, Qt::AltModifier, QPoint(rightX - 1, y));
    QTest::mouseMove(ruler, QPoint(XOf(110250), y));
    QTest::mouseRelease(ruler, Qt::LeftButton, Qt::AltModifier, QPoint(XOf(110250), y));
    EXPECT_EQ(document->Sound()->LoopEnd(), 110250 + 256);
    EXPECT_EQ(document->Sound()->LoopStart(), 110250);
    EXPECT_EQ(actions.locatorMoves.back(), false);

    // Dragging the left handle says so.
    QTest::mousePress(ruler, Qt::LeftButton, Qt::AltModifier, QPoint(XOf(110250) + 1, y));
    QTest::mouseMove(ruler, QPoint(XOf(110200), y));
    QTest::mouseRelease(ruler, Qt::LeftButton, Qt::AltModifier, QPoint(XOf(110200), y));
    EXPECT_EQ(document->Sound()->LoopStart(), 110200);
    EXPECT_EQ(actions.locatorMoves.back(), true);
}

// The labels of the ruler's last drawing: all whole inside the view, none
// running into another or under a locator handle.
std::vector<QString> CheckedRulerLabels(CRangeScaleView& ruler)
{
    ruler.grab();
    std::vector<QString> texts;
    int previousRight = -1;
    for (const auto& label : ruler.DrawnLabels()) {
        texts.push_back(label.text);
        EXPECT_GE(label.rect.left(), 0) << label.text.toStdString();
        EXPECT_LE(label.rect.right(), ruler.width() - 1) << label.text.toStdString();
        EXPECT_GT(label.rect.left(), previousRight) << label.text.toStdString();
        previousRight = label.rect.right();
        for (LocatorSide side : {LocatorSide::Left, LocatorSide::Right})
            EXPECT_FALSE(label.rect.intersects(ruler.HandleRect(side)))
                << label.text.toStdString() << " under a locator handle";
    }
    return texts;
}

TEST_F(WaveformPaneTest, RulerLabelsReadWholeBesideTheHandles)
{
    // The whole ten seconds: the table's steps, labels from 0.0 to 10.0, the
    // first and last moved inside the edges, the handles on both ends.
    document->SetLocators(0, kLength - 1);
    pane->LocatorsChanged();
    std::vector<QString> labels = CheckedRulerLabels(*ruler);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "0.0");
    EXPECT_EQ(labels.back(), "10.0");

    // A locator on a labelled second leaves the label readable.
    document->SetLocators(44100, 88200);
    pane->LocatorsChanged();
    labels = CheckedRulerLabels(*ruler);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "1.0"), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), "2.0"), labels.end());

    // Zoomed in past the table's finest step: labels in hundredths, then in
    // thousandths at one frame per pixel.
    pane->SetVisible(50000, 55000);
    labels = CheckedRulerLabels(*ruler);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels.front(), "1.14");
    pane->SetVisible(50000, 50000 + kWidth);
    ASSERT_EQ(pane->Visible().FramesPerPixel(), 1);
    labels = CheckedRulerLabels(*ruler);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels.front().toStdString(), "1.134");
    EXPECT_EQ(labels[1].toStdString(), "1.135");
    // Zoomed so that the table's labels would leave only the one second.
    pane->SetVisible(30000, 60000);
    labels = CheckedRulerLabels(*ruler);
    EXPECT_GE(labels.size(), 2u);
    EXPECT_EQ(labels.front(), "0.7");
}

TEST_F(WaveformPaneTest, OverviewPressCentresTheFrame)
{
    pane->SetVisible(0, 44100);
    const int32_t span = pane->Visible().VisibleSpan();
    QTest::mouseClick(overview, Qt::LeftButton, Qt::NoModifier, QPoint(320, 10));
    const int32_t centre = overview->Window().FrameOfPixel(320);
    EXPECT_NEAR(pane->Visible().visibleStart + span / 2, centre, pane->Visible().FramesPerPixel() + 1);
    EXPECT_EQ(pane->Visible().VisibleSpan(), span);
    EXPECT_GE(overview->FrameColumns().right - overview->FrameColumns().left, 1);
}

TEST_F(WaveformPaneTest, RedrawsOnlyWhatChanged)
{
    Paint();
    const int drawn = waveform->DrawCount();
    const int stripDrawn = strip->DrawCount();
    actions.cursor = 200000;
    pane->IdleStep();
    Paint();
    EXPECT_EQ(waveform->DrawCount(), drawn); // only the cursor columns were copied again
    EXPECT_EQ(waveform->CursorColumn(), XOf(200000));
    pane->SlicesChanged(); // nothing changed
    Paint();
    EXPECT_EQ(strip->DrawCount(), stripDrawn);
    document->Slices().At(1).selected = true;
    pane->SlicesChanged();
    Paint();
    EXPECT_EQ(strip->DrawCount(), stripDrawn + 1);
    EXPECT_EQ(waveform->DrawCount(), drawn); // selection does not show in the waveform
}

TEST_F(WaveformPaneTest, PlaybackScrollsTheCursorIntoView)
{
    pane->SetVisible(0, 44100);
    const int32_t span = pane->Visible().VisibleSpan();
    actions.playing = true;
    actions.cursor = 300000;
    preferences.scrollDuringPlayback = false;
    pane->IdleStep();
    EXPECT_EQ(pane->Visible().visibleStart, 0);
    preferences.scrollDuringPlayback = true;
    pane->IdleStep();
    const int32_t expected = 300000 - span / 20;
    EXPECT_LE(pane->Visible().visibleStart, expected);
    EXPECT_GT(pane->Visible().visibleStart, expected - pane->Visible().FramesPerPixel());
    EXPECT_EQ(pane->Visible().VisibleSpan(), span);
}

TEST_F(WaveformPaneTest, PointerShowsToolAndModifiers)
{
    QTest::mouseMove(waveform, QPoint(100, 50));
    EXPECT_EQ(waveform->cursor().shape(), Qt::ArrowCursor);
    document->SetTool(DocumentTool::Pen);
    QTest::mouseMove(waveform, QPoint(110, 50));
    EXPECT_EQ(waveform->cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(waveform->PreviewFrame().has_value());
    document->SetTool(DocumentTool::Lock);
    QTest::mouseMove(strip, QPoint(XOf(110250), strip->height() - 1));
    const QPixmap lockShape = strip->cursor().pixmap();
    EXPECT_EQ(strip->cursor().shape(), Qt::BitmapCursor);
    document->SetTool(DocumentTool::Hide);
    QTest::mouseMove(strip, QPoint(XOf(110250) + 1, strip->height() - 1));
    EXPECT_EQ(strip->cursor().shape(), Qt::BitmapCursor);
    EXPECT_NE(strip->cursor().pixmap().toImage(), lockShape.toImage());
    QTest::mouseMove(strip, QPoint(XOf(160000), strip->height() - 1)); // no handle there
    EXPECT_EQ(strip->cursor().shape(), Qt::ArrowCursor);
}

TEST(WaveformPaneMemory, ShowsTextWhenNoImageCanBeHad)
{
    auto document = MakeDocument();
    CFakeActions actions;
    SApplicationPreferences preferences;
    COffScreenCache::SetByteLimit(16);
    {
        CWaveformPane pane(*document, actions, preferences);
        pane.resize(400, 200);
        pane.show();
        pane.grab();
        EXPECT_TRUE(pane.findChild<CSampleSliceView*>()->ShowsNoMemoryText());
    }
    COffScreenCache::SetByteLimit(0);
    CWaveformPane pane(*document, actions, preferences);
    pane.resize(400, 200);
    pane.show();
    pane.grab();
    EXPECT_FALSE(pane.findChild<CSampleSliceView*>()->ShowsNoMemoryText());
    EXPECT_GE(WaveformImageCache().Uses(), 1);
}

// A steady tone, so that every column of the waveform looks alike.
std::unique_ptr<CSoundDocument> SteadyDocument(int32_t length)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("steady", 44100, length);
    for (int32_t i = 0; i < length; ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>(i % 2 ? -12000 : 12000));
    return std::make_unique<CSoundDocument>(std::move(sound), StoredDocumentSettings{}, std::vector<StoredSlice>{});
}

// Whether column x of a view's picture differs from its background (the
// colour above the tone, away from the locator lines at the ends) anywhere
// between two rows.
bool ColumnDrawn(const QImage& image, int x, int fromY, int toY)
{
    const QRgb background = image.pixel(image.width() / 4, 1);
    for (int y = fromY; y < toY; ++y)
        if (image.pixel(x, y) != background)
            return true;
    return false;
}

TEST(WaveformPaneShortSound, WholeSoundReachesTheRightEdge)
{
    // 0.2 s across 620 pixels: 14.2 frames a pixel. Whole frames per pixel
    // would leave columns past the end blank.
    for (const int32_t length : {8820, 441, 100000}) {
        auto document = SteadyDocument(length);
        CFakeActions actions;
        SApplicationPreferences preferences;
        CWaveformPane pane(*document, actions, preferences);
        pane.resize(620, 300);
        pane.show();
        QCoreApplication::processEvents();
        auto* waveform = pane.findChild<CSampleSliceView*>();
        auto* overview = pane.findChild<CSampleOverView*>();
        const int width = waveform->width();
        ASSERT_EQ(width, 620);
        const TimeWindow& visible = pane.Visible();
        EXPECT_EQ(visible.visibleStart, 0);
        EXPECT_EQ(visible.visibleEnd, length) << "the whole sound and nothing past it";
        EXPECT_GE(visible.PixelOfFrame(length - 1), width - 1 - std::max(1, width / length));
        EXPECT_EQ(overview->Window().PixelOfFrame(length), width);

        for (QWidget* view : std::initializer_list<QWidget*>{waveform, overview}) {
            const QImage picture = view->grab().toImage();
            for (int x : {1, width / 2, width - 3, width - 1})
                EXPECT_TRUE(ColumnDrawn(picture, x, 2, picture.height() - 2))
                    << length << " frames, column " << x << " of " << view->metaObject()->className();
        }
    }
}

// A pane of 620 x 300 showing a steady sound of `length` frames whole.
struct ShownShortSound {
    explicit ShownShortSound(int32_t length) : document(SteadyDocument(length))
    {
        pane.resize(620, 300);
        pane.show();
        QCoreApplication::processEvents();
    }
    std::unique_ptr<CSoundDocument> document;
    CFakeActions actions;
    SApplicationPreferences preferences;
    CWaveformPane pane{*document, actions, preferences};
};

TEST(WaveformPaneShortSound, RulerLabelsTheTenthsOfAShortSound)
{
    ShownShortSound shown(8820);
    CWaveformPane& pane = shown.pane;
    auto* ruler = pane.findChild<CRangeScaleView*>();
    EXPECT_EQ(CheckedRulerLabels(*ruler), (std::vector<QString>{"0.0", "0.1", "0.2"}));
}

TEST(WaveformPaneShortSound, ScrollBarThumbShowsTheVisiblePart)
{
    ShownShortSound shown(8820);
    CWaveformPane& pane = shown.pane;
    auto* bar = pane.findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    // Thumb length over track length, as the scroll bar draws it.
    auto thumb = [bar] {
        return double(bar->pageStep()) / double(bar->maximum() - bar->minimum() + bar->pageStep());
    };
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_DOUBLE_EQ(thumb(), 1.0) << "nothing hidden: the thumb fills the track";

    pane.SetVisible(0, 4410); // half the sound
    EXPECT_TRUE(bar->isEnabled());
    const double half = double(pane.Visible().VisibleSpan()) / 8820;
    EXPECT_NEAR(thumb(), half, 0.01);
    pane.ShowAll();
    EXPECT_DOUBLE_EQ(thumb(), 1.0);
}

} // namespace
} // namespace quorvel
