// ktvedaz-cli: the headless tool.
#include "app/AppPath.h"
#include "cli/Cli.h"

int main(int argc, char** argv)
{
    return ktv::cli::Main(std::vector<std::string>(argv + 1, argv + argc), ktv::ExecutableFolder());
}
