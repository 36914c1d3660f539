#include "engine/camera.h"

#include <gtest/gtest.h>

namespace zandrel::engine {
namespace {

RenderView OpenedView(int width, int height, std::int32_t nearDepth = 1, int rightLimit = -1) {
  RenderView view;
  SetProjection(view, width, height, nearDepth, rightLimit < 0 ? width : rightLimit);
  return view;
}

TEST(Camera, ProjectionDividesTowardZeroFromTheCentre) {
  const RenderView view = OpenedView(640, 480);
  struct Case {
    std::int32_t vx, vy, vz, sx, sy;
  };
  const Case cases[] = {
      {100, 0, 200, 448, 240},  {-100, 0, 300, 235, 240},  // -85.3 truncates to -85
      {0, 100, 300, 320, 155},                             // y grows downward
      {0, -100, 300, 320, 325}, {7, 3, 0, 2112, -528},     // a depth below 1 counts as 1
  };
  for (const Case& c : cases) {
    const ScreenPoint s = Project(view, c.vx, c.vy, c.vz);
    EXPECT_EQ(s.X, c.sx) << c.vx << ", " << c.vy << ", " << c.vz;
    EXPECT_EQ(s.Y, c.sy) << c.vx << ", " << c.vy << ", " << c.vz;
  }
}

TEST(Camera, ThePointOfTheExampleLandsAt448And240) {
  const RenderView view = OpenedView(640, 480);
  const Point3 v = ToView(view.Cam, 100, 0, 200);
  const ScreenPoint s = Project(view, v.X, v.Y, v.Z);
  EXPECT_EQ(s.X, 448);
  EXPECT_EQ(s.Y, 240);
}

TEST(Camera, AnglesTurnTheViewAsDescribed) {
  struct Case {
    std::int32_t yaw, pitch, roll;
    std::int32_t x, y, z;     // world point, camera at the origin
    std::int32_t vx, vy, vz;  // where it is seen
  };
  const Case cases[] = {
      {0, 0, 0, 10, 20, 30, 10, 20, 30},
      {8192, 0, 0, 1000, 0, 0, 0, 0, 1000},    // yaw a quarter turn looks along +x
      {0, 8192, 0, 0, 1000, 0, 0, 0, 1000},    // pitch raises the forward axis to +y
      {0, 0, 8192, 1000, 0, 0, 0, 1000, 0},    // roll turns the picture
      {16384, 0, 0, 0, 0, -1000, 0, 0, 1000},  // half a turn looks back
      {0, 0, 0, 3, 0, 0, 3, 0, 0},
  };
  for (const Case& c : cases) {
    Camera camera;
    camera.M = ViewMatrix(c.yaw, c.pitch, c.roll);
    const Point3 v = ToView(camera, c.x, c.y, c.z);
    EXPECT_EQ(v.X, c.vx) << c.yaw << " " << c.pitch << " " << c.roll;
    EXPECT_EQ(v.Y, c.vy) << c.yaw << " " << c.pitch << " " << c.roll;
    EXPECT_EQ(v.Z, c.vz) << c.yaw << " " << c.pitch << " " << c.roll;
  }
}

TEST(Camera, NearestRoundsTiesToEvenAndStopsAtTheRange) {
  EXPECT_EQ(Nearest(0.5f), 0);
  EXPECT_EQ(Nearest(1.5f), 2);
  EXPECT_EQ(Nearest(-2.5f), -2);
  EXPECT_EQ(Nearest(3e9f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(Nearest(-3e9f), std::numeric_limits<std::int32_t>::min());
}

TEST(Camera, PointVisibleKeepsNearCellsAndDropsWhatIsBehindOrAside) {
  RenderView view = OpenedView(640, 480);
  view.Cam.X = 1000;
  struct Case {
    std::int32_t radius, x, y, z;
    bool visible;
  };
  const Case cases[] = {
      {1280, 1000, 0, -1000, true},                                 // behind, but within the radius on all axes
      {1280, 1000, 0, -2000, false},                                // behind and beyond the radius on z
      {500, 1000, 0, -1000, false},  {1280, 1000, 0, 50000, true},  // far ahead
      {1280, 1000, 0, 0, true},      {0, 1000, 0, 0, false},        // at the camera: depth 0 is before the near plane
      {0, 101000, 0, 1000, false},                                  // far off to the right
      {0, 1000, -3000, 1000, false},                                // far below
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointVisible(view, c.radius, c.x, c.y, c.z), c.visible) << c.radius << " " << c.x << " " << c.z;
  }
}

TEST(Camera, MarginsAreHalfTheScreenWidthOn800By600) {
  const RenderView view = OpenedView(800, 600);
  EXPECT_EQ(view.ViewShift, 8);
  // At depth 256 a view unit is one pixel: sx = vx + 400, sy = 300 - vy.
  struct Case {
    std::int32_t vx, vy;
    bool visible;
  };
  const Case cases[] = {
      {-799, 0, true}, {-800, 0, false}, {799, 0, true},  {800, 0, false},   // right limit 800
      {0, 699, true},  {0, 700, false},  {0, -698, true}, {0, -699, false},  // bottom limit 599
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointVisible(view, 0, c.vx, c.vy, 256), c.visible) << c.vx << ", " << c.vy;
  }
}

TEST(Camera, SetProjectionFollowsTheWidthAndTheBackEnd) {
  struct Case {
    int width, height;
    std::int32_t nearDepth;
    int rightLimit;
    std::uint16_t shift, centreX, centreY, bottom;
  };
  const Case cases[] = {
      {160, 100, 10, 159, 6, 80, 50, 99},
      {320, 200, 10, 319, 7, 160, 100, 199},
      {640, 480, 1, 640, 8, 320, 240, 479},
      {800, 600, 1, 800, 8, 400, 300, 599},
  };
  for (const Case& c : cases) {
    RenderView view;
    SetProjection(view, c.width, c.height, c.nearDepth, c.rightLimit);
    EXPECT_EQ(view.ViewShift, c.shift);
    EXPECT_EQ(view.CentreX, c.centreX);
    EXPECT_EQ(view.CentreY, c.centreY);
    EXPECT_EQ(view.NearDepth, c.nearDepth);
    EXPECT_EQ(view.RightLimit, c.rightLimit);
    EXPECT_EQ(view.BottomLimit, c.bottom);
    EXPECT_EQ(view.FarDistance, 10000);
    EXPECT_EQ(view.Polygons.size(), static_cast<std::size_t>(kPolygonCapacity));
    EXPECT_EQ(view.Sort.size(), static_cast<std::size_t>(kPolygonCapacity));
  }
}

TEST(Camera, SetProjectionKeepsAFarDistanceAlreadySet) {
  RenderView view;
  view.FarDistance = 24576;
  SetProjection(view, 640, 480, 1, 640);
  EXPECT_EQ(view.FarDistance, 24576);
}

}  // namespace
}  // namespace zandrel::engine
