// Build-time generator of the built-in images.
//
//   zentrik_skin_gen --cpp OUT.cpp --blob OUT.bin   the table compiled into the program
//   zentrik_skin_gen --png-dir DIR                  every image as DIR/<id>.png, to look at
//   zentrik_skin_gen --sheet FILE.png               all images on one labelled contact sheet
//   zentrik_skin_gen --preview DIR                  mock-ups of the pages with the images placed
//   zentrik_skin_gen --list                         id, size and role of every image (Markdown)
//   zentrik_skin_gen --icon-dir DIR                 the application icon for the desktop's icon
//                                                   theme: DIR/hicolor/NxN/apps/zentrik.png
//                                                   (16 to 256) and scalable/apps/zentrik.svg
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "res/png_decode.h"
#include "res/skin_gen/catalog.h"
#include "res/skin_gen/preview.h"

namespace {

using zentrik::skin::Canvas;
using zentrik::skin::Catalog;

// The image drawn at `scale` device pixels per pixel of its natural size: the same vector
// code, so a picture for a high-DPI window is sharp rather than an enlarged copy.
std::vector<std::uint8_t> render(const zentrik::skin::Entry& e, int scale = 1) {
    Canvas canvas(e.width * scale, e.height * scale);
    if (scale != 1)
        cairo_scale(canvas.cr(), scale, scale);
    e.paint(canvas.cr());
    return canvas.png();
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

// The assembler string for a path: backslashes and quotes escaped.
std::string asm_quoted(const std::string& s) {
    std::string out = "\\\"";
    for (char ch : s) {
        if (ch == '\\' || ch == '"') {
            out += "\\\\\\";
        }
        out += ch;
    }
    return out + "\\\"";
}

// Images the program reads while it builds the window are also stored as the pixels it would
// decode from their PNG, so the start skips the decoding: the window background (every page
// paints it and its pixels give the window's shape) and the normal pictures of the
// region-shaped buttons (their pixels give the buttons' hit shapes): home cards, side tabs,
// the backup / restore / reset button and the three corner buttons.
constexpr int kReadyToDrawIds[] = {132, 223, 224, 225, 244, 261, 264, 267, 269, 271, 277};

// The PNG decoded as the program decodes it (cairo, then ARGB32), as premultiplied rows.
struct Pixels {
    int width = 0, height = 0, stride = 0;
    std::vector<std::uint8_t> rows;
};

Pixels decode_like_the_program(const std::vector<std::uint8_t>& png) {
    cairo_surface_t* argb = zentrik::res::decode_png_argb32(png);
    if (!argb) {
        throw std::runtime_error("cannot decode a PNG just made");
    }
    Pixels out;
    out.width = cairo_image_surface_get_width(argb);
    out.height = cairo_image_surface_get_height(argb);
    out.stride = cairo_image_surface_get_stride(argb);
    const unsigned char* data = cairo_image_surface_get_data(argb);
    out.rows.assign(data, data + static_cast<std::size_t>(out.stride) * out.height);
    cairo_surface_destroy(argb);
    return out;
}

void write_table(const Catalog& catalog, const std::string& cpp_path,
                 const std::string& blob_path) {
    std::vector<std::uint8_t> blob;
    std::string rows, pixel_rows, double_rows;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> ready;
    for (const auto& e : catalog) {
        const auto png = render(e);
        const Pixels drawn = decode_like_the_program(png);
        rows += "    {" + std::to_string(e.id) + ", " + std::to_string(blob.size()) + "u, " +
                std::to_string(png.size()) + "u, " + std::to_string(drawn.width) + ", " +
                std::to_string(drawn.height) + "},\n";
        blob.insert(blob.end(), png.begin(), png.end());
        if (std::find(std::begin(kReadyToDrawIds), std::end(kReadyToDrawIds), e.id) !=
            std::end(kReadyToDrawIds)) {
            ready.emplace_back(e.id, png);
        }
    }
    for (const auto& [id, png] : ready) {
        const Pixels p = decode_like_the_program(png);
        blob.resize((blob.size() + 15) / 16 * 16);
        pixel_rows += "    {" + std::to_string(id) + ", " + std::to_string(p.width) + ", " +
                      std::to_string(p.height) + ", " + std::to_string(p.stride) + ", " +
                      std::to_string(blob.size()) + "u},\n";
        blob.insert(blob.end(), p.rows.begin(), p.rows.end());
    }
    if (pixel_rows.empty()) {
        pixel_rows = "    {0, 0, 0, 0, 0u},\n";  // an array needs one element; id 0 is none
    }
    // The pictures for a window at scale 2 come last: a window at scale 1 never reads them.
    for (const auto& e : catalog) {
        const auto png = render(e, 2);
        const Pixels drawn = decode_like_the_program(png);
        if (drawn.width != 2 * e.width || drawn.height != 2 * e.height) {
            throw std::runtime_error("image " + std::to_string(e.id) +
                                     " at scale 2 is not twice its size");
        }
        double_rows += "    {" + std::to_string(e.id) + ", " + std::to_string(blob.size()) + "u, " +
                       std::to_string(png.size()) + "u, " + std::to_string(drawn.width) + ", " +
                       std::to_string(drawn.height) + "},\n";
        blob.insert(blob.end(), png.begin(), png.end());
    }
    write_file(blob_path, blob);
    std::string cpp =
        "// Generated by zentrik_skin_gen from res/skin_gen; do not edit.\n"
        "#include \"res/skin_table.h\"\n\n"
        "__asm__(\".section .rodata\\n\"\n"
        "        \".balign 16\\n\"\n"
        "        \".hidden zentrik_skin_png_blob\\n\"\n"
        "        \".type zentrik_skin_png_blob, @object\\n\"\n"
        "        \"zentrik_skin_png_blob:\\n\"\n"
        "        \".incbin " +
        asm_quoted(blob_path) +
        "\\n\"\n"
        "        \".byte 0\\n\"\n"
        "        \".previous\\n\");\n\n"
        "extern \"C\" const unsigned char zentrik_skin_png_blob[];\n\n"
        "namespace zentrik::res::detail {\n\n"
        "const PngEntry kPngEntries[] = {\n" +
        rows +
        "};\n"
        "const std::size_t kPngEntryCount = sizeof(kPngEntries) / sizeof(kPngEntries[0]);\n"
        "const PixelEntry kPixelEntries[] = {\n" +
        pixel_rows +
        "};\n"
        "const std::size_t kPixelEntryCount = sizeof(kPixelEntries) / sizeof(kPixelEntries[0]);\n"
        "const PngEntry kDoublePngEntries[] = {\n" +
        double_rows +
        "};\n"
        "const std::size_t kDoublePngEntryCount =\n"
        "    sizeof(kDoublePngEntries) / sizeof(kDoublePngEntries[0]);\n"
        "const unsigned char* const kPngBlob = zentrik_skin_png_blob;\n\n"
        "}  // namespace zentrik::res::detail\n";
    write_file(cpp_path, std::vector<std::uint8_t>(cpp.begin(), cpp.end()));
}

constexpr int kAppIconId = 128;

// The application icon at the sizes desktops ask the hicolor theme for, drawn from the same
// vector code as the window's icon (no pixel scaling), and once as SVG.
void write_app_icons(const Catalog& catalog, const std::string& dir) {
    const auto it = std::find_if(catalog.begin(), catalog.end(),
                                 [](const auto& e) { return e.id == kAppIconId; });
    if (it == catalog.end()) {
        throw std::runtime_error("no application icon in the catalog");
    }
    const auto& icon = *it;
    const std::filesystem::path theme = std::filesystem::path(dir) / "hicolor";
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const auto folder = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::filesystem::create_directories(folder);
        Canvas canvas(size, size);
        cairo_scale(canvas.cr(), double(size) / icon.width, double(size) / icon.height);
        icon.paint(canvas.cr());
        write_file((folder / "zentrik.png").string(), canvas.png());
    }
    const auto scalable = theme / "scalable" / "apps";
    std::filesystem::create_directories(scalable);
    const std::string svg_path = (scalable / "zentrik.svg").string();
    cairo_surface_t* svg = cairo_svg_surface_create(svg_path.c_str(), icon.width, icon.height);
    cairo_t* cr = cairo_create(svg);
    icon.paint(cr);
    cairo_destroy(cr);
    cairo_surface_finish(svg);
    const cairo_status_t status = cairo_surface_status(svg);
    cairo_surface_destroy(svg);
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + svg_path);
    }
}

int usage() {
    std::cerr << "usage: zentrik_skin_gen [--cpp OUT.cpp --blob OUT.bin] [--png-dir DIR] "
                 "[--sheet FILE.png] [--preview DIR] [--list] [--icon-dir DIR]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string cpp, blob, png_dir, sheet, preview, icon_dir;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                return false;
            }
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--cpp") {
            ok = value(cpp);
        } else if (arg == "--blob") {
            ok = value(blob);
        } else if (arg == "--png-dir") {
            ok = value(png_dir);
        } else if (arg == "--sheet") {
            ok = value(sheet);
        } else if (arg == "--preview") {
            ok = value(preview);
        } else if (arg == "--icon-dir") {
            ok = value(icon_dir);
        } else if (arg == "--list") {
            list = true;
        } else {
            ok = false;
        }
        if (!ok) {
            return usage();
        }
    }
    if (cpp.empty() != blob.empty() || (cpp.empty() && png_dir.empty() && sheet.empty() &&
                                        preview.empty() && icon_dir.empty() && !list)) {
        return usage();
    }
    try {
        const Catalog catalog = zentrik::skin::build_catalog();
        if (!cpp.empty()) {
            write_table(catalog, cpp, blob);
        }
        if (!png_dir.empty()) {
            for (const auto& e : catalog) {
                write_file(png_dir + "/" + std::to_string(e.id) + ".png", render(e));
            }
        }
        if (!icon_dir.empty()) {
            write_app_icons(catalog, icon_dir);
        }
        if (!sheet.empty()) {
            zentrik::skin::write_contact_sheet(catalog, sheet);
        }
        if (!preview.empty()) {
            zentrik::skin::write_page_previews(catalog, preview);
        }
        if (list) {
            std::cout << "| Id | Size | Role |\n|---|---|---|\n";
            for (const auto& e : catalog) {
                std::cout << "| " << e.id << " | " << e.width << " × " << e.height << " | "
                          << e.role << " |\n";
            }
        }
    } catch (const std::exception& ex) {
        std::cerr << "zentrik_skin_gen: " << ex.what() << "\n";
        return 1;
    }
    return 0;
}
