// zentrik_cli_docs: writes the manual pages and the bash completion at build time.
//   zentrik_cli_docs VERSION DATA_DIR ZENTRIKCTL.1 ZENTRIK.1 COMPLETION
#include <fstream>
#include <iostream>

#include "cli/docs/manual_pages.h"

namespace {

bool write_file(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        std::cerr << "zentrik_cli_docs: cannot write " << path << "\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zentrik::cli::docs;
    if (argc != 6) {
        std::cerr << "usage: zentrik_cli_docs VERSION DATA_DIR ZENTRIKCTL.1 ZENTRIK.1 COMPLETION\n";
        return 2;
    }
    const bool ok = write_file(argv[3], zentrikctl_manual(argv[1], argv[2])) &&
                    write_file(argv[4], zentrik_manual(argv[1], argv[2])) &&
                    write_file(argv[5], zentrikctl_bash_completion());
    return ok ? 0 : 1;
}
