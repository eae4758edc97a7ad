#pragma once
// Every text the game writes into the main window or shows in its own message boxes.
// The blanks inside them are exact.

namespace kv {

// Refusals.
inline constexpr const char* kNothingSelectedText = "Ничего не выбрано!";
inline constexpr const char* kFinishFirstText = "Сначала собери!";
inline constexpr const char* kNothingToDivideText = "Разбивать пока нечего.";
inline constexpr const char* kAlreadyShuffledText = "Уже перемешана, нужно собирать...";
inline constexpr const char* kNotDividedText = "Картинка пока не разбита на части...";

// The win message.
inline constexpr const char* kSolvedMessageText = "Ура, получилось!!!";

// Status sentence (Label1).
inline constexpr const char* kStatusLayoutText = " уже прошло.       На своих местах пока :";
inline constexpr const char* kStatusPlayingText = "прошло времени - на своих местах пока";
inline constexpr const char* kStatusSolvedText = "прошло времени - на своих местах все";
inline constexpr const char* kStatusNewGameText = " уже прошло.     На своих местах пока";

// Hint line (Label7).
inline constexpr const char* kHintLayoutText = "Выбирай справа... Жми кнопки вверху....";
inline constexpr const char* kHintPlayingText = "Время пошло, пора собирать...";
inline constexpr const char* kHintSolvedText = "Неплохо, давай еще...";
inline constexpr const char* kHintNewGameText = "Выбирай справа,  жми кнопки вверху...";

// Clock (Label8) and count (Label9) at rest; the caption after the piece-count box (Label6).
inline constexpr const char* kClockZeroText = "00 : 00";
inline constexpr const char* kCountZeroText = "0";
inline constexpr const char* kPieceCountLayoutText = " x2 = 4 частей и ";

}  // namespace kv
