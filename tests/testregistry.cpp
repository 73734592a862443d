#include "testregistry.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace korvelian {

namespace {

std::map<std::string, TestRunner>& areas()
{
    static std::map<std::string, TestRunner> registered;
    return registered;
}

} // namespace

bool registerTest(const char* area, TestRunner run)
{
    return areas().emplace(area, std::move(run)).second;
}

int runRegisteredTest(int argc, char* argv[])
{
    const auto found = argc > 1 ? areas().find(argv[1]) : areas().end();
    if (found == areas().end()) {
        std::fprintf(stderr, "usage: %s AREA [Qt Test arguments]; areas:", argv[0]);
        for (const auto& [name, run] : areas())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    std::vector<char*> rest{argv[0]};
    rest.insert(rest.end(), argv + 2, argv + argc);
    rest.push_back(nullptr);
    return found->second(argc - 1, rest.data());
}

} // namespace korvelian

int main(int argc, char* argv[])
{
    return korvelian::runRegisteredTest(argc, argv);
}
