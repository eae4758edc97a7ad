#include "game/game_board.h"

#include <algorithm>

#include "game/game_flow.h"
#include "game/placeholder_picture.h"
#include "game/source_picture.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/controls/control_host.h"
#include "graphics/controls/image.h"

namespace kv {

namespace {

constexpr int kGridPenWidth = 2;

}  // namespace

GameBoard::GameBoard(TControlHost& host, TImage& board, TImage& preview, GameFlow& flow)
    : host_(host), board_(board), preview_(preview), flow_(flow) {}

// Pieces still held leave the host as they are destroyed.
GameBoard::~GameBoard() = default;

void GameBoard::SetScreenSize(int width, int height) {
    screenWidth_ = std::max(width, 0);
    screenHeight_ = std::max(height, 0);
}

TCanvas& GameBoard::BoardCanvas() { return board_.Canvas(); }

void GameBoard::ClearBoard(TCanvas& canvas) {
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(kBoardClientRect);
}

void GameBoard::DrawGridLines(TCanvas& canvas, const PuzzleState& state, int count) {
    for (int g = 0; g < count; ++g) {
        canvas.MoveTo(g * state.PieceWidth, 0);
        canvas.LineTo(g * state.PieceWidth, screenHeight_);
        canvas.MoveTo(0, g * state.PieceHeight);
        canvas.LineTo(screenWidth_, g * state.PieceHeight);
    }
}

// ---- board drawing ----

void GameBoard::DrawNoPicture() {
    TBitmap placeholder;
    placeholder.Assign(&PlaceholderPicture());
    BoardCanvas().StretchDraw(board_.ClientRect(), &placeholder);
    preview_.Picture().Assign(&placeholder);
    preview_.Canvas().StretchDraw(preview_.ClientRect(), &placeholder);
}

void GameBoard::LoadAndDrawPicture(PuzzleState& state, const std::string& path) {
    TCanvas& canvas = BoardCanvas();
    ClearBoard(canvas);
    // A failure leaves here with the board white and nothing drawn on it.
    DecodeSourcePicture(state.SourcePicture, path);
    state.BoardRect = kBoardClientRect;
    canvas.StretchDraw(state.BoardRect, state.SourcePicture.get());
    // The pen stays set on the board: a change of N and the shuffle draw their grids with it.
    canvas.Pen().SetWidth(kGridPenWidth);
    canvas.Pen().SetMode(TPenMode::pmNotXor);
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    DrawGridLines(canvas, state, state.GridSize + 1);
}

void GameBoard::RedrawForGridSize(const PuzzleState& state) {
    TCanvas& canvas = BoardCanvas();
    ClearBoard(canvas);
    canvas.StretchDraw(state.BoardRect, state.SourcePicture.get());
    // One line fewer each way than a load draws: the right-most and bottom line is left out.
    DrawGridLines(canvas, state, state.GridSize);
}

void GameBoard::DrawWholePicture(const PuzzleState& state) {
    BoardCanvas().StretchDraw(state.BoardRect, state.SourcePicture.get());
}

// ---- cutting and scattering ----

std::shared_ptr<TBitmap> GameBoard::CutPiece(const TRect& cell) {
    const int width = cell.Width();
    const int height = cell.Height();
    auto piece = std::make_shared<TBitmap>();
    piece->SetWidth(width);
    piece->SetHeight(height);
    piece->Canvas().CopyRect({0, 0, width, height}, BoardCanvas(), cell);
    return piece;
}

void GameBoard::DrawShuffledBoard(const PuzzleState& state) {
    TCanvas& canvas = BoardCanvas();
    ClearBoard(canvas);
    DrawGridLines(canvas, state, state.GridSize + 1);
}

PieceId GameBoard::CreatePiece(const PuzzleState& state, int index, int left, int top) {
    const PieceId id{++lastId_};
    auto piece = std::make_unique<TImage>();
    piece->SetHeight(state.PieceHeight);
    piece->SetWidth(state.PieceWidth);
    piece->SetName("Image" + std::to_string(index + 10));
    piece->OnMouseDown = [this, id](TControl&, TMouseButton button, TShiftState, int x, int y) {
        flow_.PieceMouseDown(id, button == TMouseButton::mbLeft, x, y);
    };
    piece->OnMouseMove = [this, id](TControl&, TShiftState, int x, int y) { flow_.PieceMouseMove(id, x, y); };
    piece->OnMouseUp = [this, id](TControl&, TMouseButton, TShiftState, int, int) { flow_.PieceMouseUp(id); };
    piece->SetTop(top);
    piece->SetLeft(left);
    // The first request for the piece's surface gives it a bitmap of the piece's size.
    const TRect whole{0, 0, state.PieceWidth, state.PieceHeight};
    if (const auto& bitmap = state.PieceBitmaps.at(static_cast<std::size_t>(index)))
        piece->Canvas().CopyRect(whole, bitmap->Canvas(), whole);
    // Joining the host last puts the piece above everything made before it.
    piece->SetParent(&host_);
    pieces_.push_back({id, std::move(piece)});
    return id;
}

void GameBoard::RepaintWindow() { host_.Refresh(); }

// ---- pieces during play ----

TImage* GameBoard::PieceControl(PieceId piece) const {
    if (piece == kNoPiece) return nullptr;
    const auto it = std::find_if(pieces_.begin(), pieces_.end(),
                                 [piece](const HeldPiece& held) { return held.id == piece; });
    return it == pieces_.end() ? nullptr : it->control.get();
}

int GameBoard::PieceLeft(PieceId piece) const {
    const TImage* control = PieceControl(piece);
    return control != nullptr ? control->Left() : 0;
}
int GameBoard::PieceTop(PieceId piece) const {
    const TImage* control = PieceControl(piece);
    return control != nullptr ? control->Top() : 0;
}
void GameBoard::SetPieceLeft(PieceId piece, int left) {
    if (TImage* control = PieceControl(piece)) control->SetLeft(left);
}
void GameBoard::SetPieceTop(PieceId piece, int top) {
    if (TImage* control = PieceControl(piece)) control->SetTop(top);
}

void GameBoard::ReleasePiece(PieceId piece) {
    const auto it = std::find_if(pieces_.begin(), pieces_.end(),
                                 [piece](const HeldPiece& held) { return held.id == piece; });
    if (it == pieces_.end()) return;
    std::unique_ptr<TImage> released = std::move(it->control);
    pieces_.erase(it);
    host_.ReleaseLater(std::move(released));
}

}  // namespace kv
