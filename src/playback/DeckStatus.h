#pragma once

namespace tavlo {

// What a player window's deck is doing; the status label shows it.
enum class DeckStatus { Stopped, Playing, Paused };

}  // namespace tavlo
