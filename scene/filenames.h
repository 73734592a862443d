#pragma once

#include <optional>
#include <string>
#include <utility>

namespace korvelian {

struct ScreenPicture;

// numerator and denominator of a figure
using FileRatio = std::pair<double, double>;

// The ratio of the picture's last figure; nothing before any, nor while the numbers are
// withheld.
std::optional<FileRatio> figureRatio(const ScreenPicture& picture);

// A name proposed for a saved picture, so that the pictures of one ratio sort side by side in
// a folder: "korvelian-3-2.png", "korvelian.png" without a ratio.
std::string ratioFileName(std::string stem, const std::optional<FileRatio>& ratio,
                          const std::string& ending);

// The overview plate's name: the phases' plate names the ratio it is drawn at.
std::string plateFileName(bool phases, const FileRatio& ratio, const std::string& ending);

} // namespace korvelian
