// The demo image set: twelve photographs made into a complete image set, and an own-images
// folder of the same photographs, for trying the saver and the dialogs without a commercial set.
//
// The set's pictures are mostly in the packed palette types that the early sets used, one in the
// packed LZW type, one a BMP and one a JPEG, so that every road through GetImage is exercised.
// Its logos (an emblem of a sun over mountains) come in every shape the saver asks for: squares
// for the background's tiles and the cubes' faces, and bands of the cylinder's unrolled
// proportions for Wipe Out.
#pragma once

#include <string>
#include <vector>

namespace demoset {

// The data folder's name: seven characters, as the trace-file rule expects of every set.
constexpr char kDataFolderName[] = "demoset";
constexpr char kOwnImagesFolderName[] = "ownimgs";
constexpr int kPictureCount = 12;

struct Options {
  // A folder holding the source photographs (JPEG files, taken in name order); empty or holding
  // fewer than twelve: the builder draws pictures of its own for the rest.
  std::string photoFolder;
  int width = 640;
  int height = 480;
};

// Builds <parent>/demoset and <parent>/ownimgs (creating them). Returns an empty text, or what
// went wrong.
std::string BuildDemoImageSet(const std::string& parent, const Options& options);

// "GreenMeadow.jpg" -> "Green Meadow": a title from a photograph's file name.
std::string TitleFromFileName(const std::string& fileName);

}  // namespace demoset
