// Build-time tool: makes one template database from its schema file through the engine's
// own CreateDatabase, so templates always carry the current file format and metadata.
#include "data/Schema.h"
#include "platform/core/Error.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: ktv_make_template <schema file> <output .mdx>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::cerr << "cannot read " << argv[1] << "\n";
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        // A template is rebuilt whole: the old one goes first (CreateDatabase never replaces).
        std::filesystem::remove(argv[2]);
        ktv::dao::CreateDatabase(argv[2], text.str());
    } catch (const ktv::Error& e) {
        std::cerr << argv[1] << ": " << e.description() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
