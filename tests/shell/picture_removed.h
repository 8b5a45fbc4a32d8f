// A game folder whose image archive lacks one picture: the folder's Data/Res becomes a real
// folder whose other files still link to the build's, and the archive is written back without
// the picture, as the archive tools would write it.
#pragma once

#include <filesystem>

#include "archive/archive_file.h"
#include "archive/image_list.h"
#include "game_folder.h"

namespace trakvolt::testing_support {

inline void RemovePicture(const GameFolder& folder, const char* archive, const char* image) {
  const auto res = folder.Path() / "Data" / "Res";
  const std::filesystem::path built = std::filesystem::read_symlink(res);
  std::filesystem::remove(res);
  std::filesystem::create_directory(res);
  for (const auto& entry : std::filesystem::directory_iterator(built))
    if (entry.path().filename() != archive)
      std::filesystem::create_symlink(entry.path(), res / entry.path().filename());
  TImageList list;
  list.Items.SetKeepPictureData(true);  // written back below
  list.LoadArchive((built / archive).string());
  list.Items.Delete(list.FindItem(image).Index());
  WriteArchiveFile((res / archive).string(), list.Items.SaveToBytes());
}

}  // namespace trakvolt::testing_support
