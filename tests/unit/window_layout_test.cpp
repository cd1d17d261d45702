#include "views/window_layout.h"

#include <gtest/gtest.h>

namespace kalvor::views {
namespace {

const Rect kClient{0, 0, 1000, 700};

TEST(WindowLayout, ListTakesWhatTheSideWindowsLeave) {
  // Alone: the whole client area below the toolbar band.
  EXPECT_EQ(listRectangle(kClient, std::nullopt, std::nullopt), (Rect{0, 27, 1000, 700}));
  // Beside the description window: its outer width, wherever it stands.
  const Rect description{0, 27, 310, 700};
  EXPECT_EQ(listRectangle(kClient, description, std::nullopt), (Rect{310, 27, 1000, 700}));
  // Below the drawing window: the band plus its outer height (not its bottom).
  const Rect drawing{700, 27, 1000, 227};
  EXPECT_EQ(listRectangle(kClient, description, drawing), (Rect{310, 227, 1000, 700}));
  EXPECT_EQ(listRectangle(kClient, std::nullopt, Rect{800, 40, 1000, 140}), (Rect{0, 127, 1000, 700}));
  // A client area too small for the band and the side windows: empty, not negative.
  EXPECT_EQ(listRectangle(Rect{0, 0, 200, 20}, Rect{0, 27, 300, 20}, std::nullopt), (Rect{300, 27, 300, 27}));
}

TEST(WindowLayout, ResizeRatiosAndTruncation) {
  const Rect saved{0, 0, 800, 600};
  EXPECT_EQ(resizeRatios(saved, Rect{10, 10, 1210, 310}), (ResizeRatios{1.5, 0.5}));
  // Nothing saved yet (zero width or height): no scaling at all.
  EXPECT_EQ(resizeRatios(Rect{5, 5, 5, 600}, Rect{0, 0, 1000, 300}), (ResizeRatios{1.0, 1.0}));
  EXPECT_EQ(resizeRatios(Rect{0, 0, 800, 0}, Rect{0, 0, 1000, 300}), (ResizeRatios{1.0, 1.0}));
  // Truncation toward zero, never rounding: 199 × 0.999 = 198.8 → 198.
  EXPECT_EQ(scaleExtent(199, 0.999), 198);
  EXPECT_EQ(scaleExtent(1000, 0.4567), 456);
  EXPECT_EQ(scaleExtent(-7, 0.5), -3);
}

TEST(WindowLayout, ResizeMovesTheDrawingWindowFirstThenDescriptionThenList) {
  const Rect saved{0, 0, 800, 600};
  const Rect grown{0, 0, 1200, 900};  // ratios 1.5 and 1.5
  const Rect client{0, 0, 1180, 840};
  const Rect drawing{600, 27, 800, 227};
  const Rect description{0, 27, 300, 560};

  ResizeMove move = planResize(client, saved, grown, drawing, description, true);
  EXPECT_EQ(move.target, ResizeMove::Target::Drawing);
  // 200 × 1.5 = 300 wide, flush with the client's right edge, at y = 27.
  EXPECT_EQ(move.rect, (Rect{880, 27, 1180, 327}));

  move = planResize(client, saved, grown, std::nullopt, description, true);
  EXPECT_EQ(move.target, ResizeMove::Target::Description);
  EXPECT_EQ(move.rect, (Rect{0, 27, 450, 27 + 799}));  // 533 × 1.5 = 799.5 → 799

  move = planResize(client, saved, grown, std::nullopt, std::nullopt, true);
  EXPECT_EQ(move.target, ResizeMove::Target::List);
  EXPECT_EQ(move.rect, (Rect{0, 27, 1180, 840}));

  EXPECT_EQ(planResize(client, saved, grown, std::nullopt, std::nullopt, false).target,
            ResizeMove::Target::None);

  // A zero saved rect keeps the side window's size.
  move = planResize(client, Rect{}, grown, drawing, std::nullopt, true);
  EXPECT_EQ(move.rect, (Rect{980, 27, 1180, 227}));
}

TEST(WindowLayout, MinimumSizeCentringAndStartPicture) {
  // 7 pixel characters: 7 × 200 / 4 + 100 = 450; 1024 × 2 / 3 = 682 (truncated).
  EXPECT_EQ(minimumTrackSize(7, 1024), (Size{450, 682}));
  EXPECT_EQ(minimumTrackSize(9, 768), (Size{550, 512}));
  EXPECT_EQ(startPicturePosition(1280, 971), (Point{340, 370}));
  // A client smaller than the picture puts it partly off the left/top edge.
  EXPECT_EQ(startPicturePosition(500, 200), (Point{-50, -15}));
  EXPECT_EQ(centredDialogPosition(1001, 700, 300, 201), (Point{350, 249}));
}

TEST(WindowLayout, PictureFitsIntoItsFrame) {
  // Average char 8 → 20 px margin across; line 16 → caption line 20 px.
  const Rect frame{10, 20, 230, 220};  // 220 × 200: available 200 × 180
  // A small picture keeps its size, centred across and within the space above the caption.
  PicturePlacement p = fitPicture(100, 60, frame, 8, 16, false);
  EXPECT_EQ(p.picture, (Rect{70, 80, 170, 140}));
  EXPECT_EQ(p.captionTop, 200);
  // A larger one shrinks by the smaller ratio: min(200/400, 180/100) = 0.5.
  p = fitPicture(400, 100, frame, 8, 16, false);
  EXPECT_EQ(p.picture, (Rect{20, 85, 220, 135}));
  // Printing stretches even a small picture: min(200/50, 180/90) = 2.
  p = fitPicture(50, 90, frame, 8, 16, true);
  EXPECT_EQ(p.picture, (Rect{70, 20, 170, 200}));
  // Degenerate pictures and frames draw nothing rather than garbage.
  EXPECT_EQ(fitPicture(0, 10, frame, 8, 16, false).picture.width(), 0);
  EXPECT_EQ(fitPicture(50, 50, Rect{0, 0, 10, 10}, 8, 16, false).picture.width(), 0);
}

}  // namespace
}  // namespace kalvor::views
