#pragma once

#include <string>

namespace korvelian {

// The quiz's series for seed 7, as a teacher prepares it for two classes: it must be the same
// on every processor and with every standard library, so the test suite checks it and so does
// the plain runner of make check-portable. Gives what went wrong, empty when nothing did.
std::string checkQuizSeries();

} // namespace korvelian
