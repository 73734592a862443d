#include "app/modulelibrary.h"

// The libraries the window loads on first use are built beside the program, not beside the
// tests and benchmarks.
namespace {

[[maybe_unused]] const bool folderAdded =
    (korvelian::ModuleLibrary::addFolder(KORVELIAN_MODULE_FOLDER), true);

} // namespace
