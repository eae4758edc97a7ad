// The main window's board services to the game flow (BoardServices): drawing, cutting and the
// pieces, all carried out by the game board on the window's board, preview and control host.
#include "game/game_board.h"
#include "ui/zurbo_image.h"

namespace kv {

void TForm1::DrawNoPicture() { board_->DrawNoPicture(); }
void TForm1::LoadAndDrawPicture(PuzzleState& state, const std::string& path) { board_->LoadAndDrawPicture(state, path); }
void TForm1::RedrawForGridSize(const PuzzleState& state) { board_->RedrawForGridSize(state); }
void TForm1::DrawWholePicture(const PuzzleState& state) { board_->DrawWholePicture(state); }
std::shared_ptr<TBitmap> TForm1::CutPiece(const TRect& cell) { return board_->CutPiece(cell); }
void TForm1::DrawShuffledBoard(const PuzzleState& state) { board_->DrawShuffledBoard(state); }
PieceId TForm1::CreatePiece(const PuzzleState& state, int index, int left, int top) {
    return board_->CreatePiece(state, index, left, top);
}
void TForm1::RepaintWindow() { board_->RepaintWindow(); }
int TForm1::PieceLeft(PieceId piece) const { return board_->PieceLeft(piece); }
int TForm1::PieceTop(PieceId piece) const { return board_->PieceTop(piece); }
void TForm1::SetPieceLeft(PieceId piece, int left) { board_->SetPieceLeft(piece, left); }
void TForm1::SetPieceTop(PieceId piece, int top) { board_->SetPieceTop(piece, top); }
void TForm1::ReleasePiece(PieceId piece) { board_->ReleasePiece(piece); }

}  // namespace kv
