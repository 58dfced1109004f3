#pragma once
// Looking aids for whoever edits the skin: a contact sheet of every image and rough mock-ups
// of the pages with the images at their window positions (the program's own renderer draws
// the real pages; `zentrik --render-page N` shows them).
#include <string>

#include "res/skin_gen/catalog.h"

namespace zentrik::skin {

void write_contact_sheet(const Catalog& catalog, const std::string& path);
void write_page_previews(const Catalog& catalog, const std::string& dir);

}  // namespace zentrik::skin
