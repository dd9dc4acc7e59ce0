#include "display/cell_painter.h"

#include "display/sheet_geometry.h"

namespace {

constexpr uint32_t kAlive16 = 0x0000FFFFu;
constexpr uint32_t kAlive24 = 0x00FFFFFFu;
constexpr uint32_t kAlive32 = 0xFFFFFFFFu;
constexpr uint32_t kAlivePrevious = 1u << 1;
constexpr uint32_t kAlive16Before = 1u << 16;

constexpr int8_t kLastShrinkPhase = 11;
constexpr int kPhasesPerStage = 4;

bool AllSet(uint32_t history, uint32_t mask) { return (history & mask) == mask; }

// A species outside 1..6 has no band; such a cell is left undrawn rather
// than read from outside the sheet.
bool ValidBand(int band) { return band >= 0 && band < kBandCount; }

}  // namespace

void CellPainter::PaintLiveCell(Cell& cell) {
    const uint32_t history = cell.history;
    const int column = cell.x - 1;
    const int row = cell.y - 1;
    const int band = cell.species - 1;

    if (!AllSet(history, kAlive16)) {
        if ((history & kAlivePrevious) == 0) {
            DrawNewborn(column, row, band);
        }
        return;
    }
    if (!settings_.wriggle) {
        // Only the first grown generation is drawn; the sprite then stays.
        if ((history & kAlive16Before) == 0) {
            DrawMature(column, row, 0, 0, band);
        }
        return;
    }

    StepWriggleFrame(cell, random_);
    int stage = 0;
    if (settings_.shrink) {
        if (AllSet(history, kAlive24)) {
            StepShrinkPhase(cell, random_);
            stage = cell.shrinkPhase / kPhasesPerStage;
        }
    } else if (history == kAlive32) {
        stage = 2;
    } else if (AllSet(history, kAlive24)) {
        stage = 1;
    }
    DrawMature(column, row, cell.wriggleFrame, stage, band);
}

void CellPainter::PaintDeadCell(const Cell& cell) {
    if ((cell.history & kAlivePrevious) != 0) {
        EraseCell(cell.x - 1, cell.y - 1);
    }
}

void CellPainter::ClearScreen(ClientSize client) { target_->clear(client); }

void CellPainter::DrawNewborn(int column, int row, int band) {
    if (!ValidBand(band)) {
        return;
    }
    const SpriteGroup& group = SpriteGroupFor(settings_.cellSize);
    const int y = settings_.wriggle ? group.newbornWriggleY : group.newbornPlainY;
    copyToCell(group.singleColumn, BandTop[band] + y, column, row);
}

void CellPainter::DrawMature(int column, int row, int frame, int stage, int band) {
    if (!ValidBand(band)) {
        return;
    }
    const SpriteGroup& group = SpriteGroupFor(settings_.cellSize);
    if (settings_.wriggle) {
        copyToCell(frame * settings_.cellWidth, BandTop[band] + group.blockTop + stage * settings_.cellHeight, column,
                   row);
        return;
    }
    // In species mode One the grown sprite is a ball of another colour; it
    // lies one sprite above the darker shade that the other modes use.
    const int extra = settings_.speciesMode == SpeciesMode::One ? 0 : settings_.cellHeight;
    copyToCell(group.singleColumn, BandTop[band] + group.matureOneY + extra, column, row);
}

void CellPainter::EraseCell(int column, int row) {
    const int w = settings_.cellWidth;
    const int h = settings_.cellHeight;
    target_->fillBlack({column * w, row * h, (column + 1) * w, (row + 1) * h});
}

void CellPainter::copyToCell(int srcX, int srcY, int column, int row) {
    const int w = settings_.cellWidth;
    const int h = settings_.cellHeight;
    target_->copy(srcX, srcY, column * w, row * h, w, h);
}

void CellPainter::StepWriggleFrame(Cell& cell, RandomSource& random) {
    const int32_t r = random.draw();
    if (cell.wriggleFrame == kWriggleNotStarted) {
        cell.wriggleFrame = static_cast<uint8_t>(r % kWriggleFrames);
    } else if (r & 1) {
        cell.wriggleFrame = cell.wriggleFrame == 0 ? kWriggleFrames - 1 : cell.wriggleFrame - 1;
    } else {
        cell.wriggleFrame = cell.wriggleFrame >= kWriggleFrames - 1 ? 0 : cell.wriggleFrame + 1;
    }
}

void CellPainter::StepShrinkPhase(Cell& cell, RandomSource& random) {
    const int32_t r = random.draw();
    if (r & 1) {
        cell.shrinkPhase = cell.shrinkPhase <= 0 ? 0 : cell.shrinkPhase - 1;
    } else {
        cell.shrinkPhase = cell.shrinkPhase >= kLastShrinkPhase ? kLastShrinkPhase : cell.shrinkPhase + 1;
    }
}
