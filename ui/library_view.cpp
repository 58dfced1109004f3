#include "ui/library_view.h"

namespace zentrik::ui {
namespace {

// The panel the editor fills on its own.
constexpr int kPanelX = 503;
constexpr int kPanelY = 129;
constexpr int kPanelWidth = 450;
constexpr int kPanelHeight = 358;
constexpr int kGap = 10;
constexpr int kHalf = (kPanelHeight - kGap) / 2;

constexpr char kEditor[] = "list macro edit";
constexpr char kLibrary[] = "list macro pc";
// The card behind the lists: one card for either list alone, two for both.
constexpr char kCardPicture[] = "_macro panel";
constexpr int kOneCard = 284;
constexpr int kTwoCards = 340;

void place(WidgetBoard& board, const char* name, int y, int height) {
    board.move_widget(name, kPanelX, y);
    board.resize_widget(name, kPanelWidth, height);
    board.set_visible(name, 1);
}

}  // namespace

LibraryView next_library_view(LibraryView view) {
    return static_cast<LibraryView>((static_cast<int>(view) + 1) % 3);
}

void show_library_view(WidgetBoard& board, LibraryView view) {
    switch (view) {
        case LibraryView::kEditor:
            board.set_visible(kLibrary, 0);
            place(board, kEditor, kPanelY, kPanelHeight);
            break;
        case LibraryView::kEditorAndLibrary:
            place(board, kEditor, kPanelY, kHalf);
            place(board, kLibrary, kPanelY + kHalf + kGap, kPanelHeight - kHalf - kGap);
            break;
        case LibraryView::kLibrary:
            board.set_visible(kEditor, 0);
            place(board, kLibrary, kPanelY, kPanelHeight);
            break;
    }
    const int card = view == LibraryView::kEditorAndLibrary ? kTwoCards : kOneCard;
    board.set_images(kCardPicture, card, 0, 0, 0);
}

}  // namespace zentrik::ui
