// posewright-tour: plays the five-minute tour on the editor and saves a
// picture of the editor's windows at every step; with --reference, compares
// each picture with the committed one of the same name.
//
// Usage: posewright-tour --samples DIR --rigged FILE --work DIR --out DIR [--reference DIR]
// Needs an X display (the script tools/screenshots.sh starts a virtual one).
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "tools/tour/PictureCompare.h"
#include "tools/tour/Tour.h"
#include "ui/OpenGlFormat.h"
#include "ui/Translations.h"

namespace posewright {

namespace {

struct Arguments {
  TourFolders folders;
  QString out;
  QString reference;
};

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const char* value = argv[i + 1];
    if (std::strcmp(argv[i], "--samples") == 0) {
      a.folders.samples = value;
    } else if (std::strcmp(argv[i], "--rigged") == 0) {
      a.folders.riggedModel = value;
    } else if (std::strcmp(argv[i], "--work") == 0) {
      a.folders.work = value;
    } else if (std::strcmp(argv[i], "--out") == 0) {
      a.out = QString::fromLocal8Bit(value);
    } else if (std::strcmp(argv[i], "--reference") == 0) {
      a.reference = QString::fromLocal8Bit(value);
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !a.folders.samples.empty() && !a.folders.riggedModel.empty() &&
         !a.folders.work.empty() && !a.out.isEmpty();
}

// Compares picture with the reference of the same name; prints the outcome.
bool MatchesReference(const QString& name, const QImage& picture, const Arguments& a) {
  const PictureTolerance tolerance;
  const QImage expected(QDir(a.reference).filePath(name + ".png"));
  if (expected.isNull()) {
    std::printf("%s: no reference picture\n", qPrintable(name));
    return false;
  }
  const PictureDifference d = ComparePictures(picture, expected, tolerance);
  if (!d.sameSize) {
    std::printf("%s: %dx%d, the reference is %dx%d\n", qPrintable(name), picture.width(), picture.height(),
                expected.width(), expected.height());
    return false;
  }
  const bool ok = d.within(tolerance);
  std::printf("%s: %lld of %lld pixels differ (%.3f%%, allowed %.3f%%), largest channel difference %d%s\n",
              qPrintable(name), d.differingPixels, d.pixels, 100.0 * d.differingShare(),
              100.0 * tolerance.differingShare, d.largestChannelDifference, ok ? "" : "  MISMATCH");
  if (!ok) {
    DifferenceMap(picture, expected, tolerance).save(QDir(a.out).filePath(name + ".diff.png"));
  }
  return ok;
}

}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  UseViewportSurfaceFormat();
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallTranslations(qt);
  Arguments a;
  if (!Parse(argc, argv, a)) {
    std::fprintf(
        stderr,
        "usage: posewright-tour --samples DIR --rigged FILE --work DIR --out DIR [--reference DIR]\n");
    return 2;
  }
  QDir().mkpath(a.out);
  QDir().mkpath(QString::fromStdString(a.folders.work));

  bool matches = true;
  std::set<QString> taken;
  bool played = false;
  {
    Tour tour(a.folders, [&](const std::string& name, const QImage& picture) {
      const QString n = QString::fromStdString(name);
      taken.insert(n);
      if (!picture.save(QDir(a.out).filePath(n + ".png"))) {
        std::fprintf(stderr, "tour: cannot write %s.png\n", qPrintable(n));
        matches = false;
      }
      if (!a.reference.isEmpty()) {
        matches = MatchesReference(n, picture, a) && matches;
      }
    });
    played = tour.run();
  }
  if (!a.reference.isEmpty()) {
    for (const QString& file : QDir(a.reference).entryList({"*.png"}, QDir::Files)) {
      const QString name = file.chopped(4);
      if (played && taken.count(name) == 0) {
        std::printf("%s: the tour no longer takes this picture\n", qPrintable(name));
        matches = false;
      }
    }
  }
  if (!played) {
    return 1;
  }
  std::printf("tour: %zu pictures in %s\n", taken.size(), qPrintable(a.out));
  return matches ? 0 : 1;
}
