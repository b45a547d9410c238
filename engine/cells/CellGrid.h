#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

// One value per character cell, row by row.
template <typename T>
struct CellGrid
{
    int columns = 0;
    int rows = 0;
    std::vector<T> cells;

    CellGrid() = default;
    CellGrid(int columnCount, int rowCount)
        : columns(columnCount), rows(rowCount), cells(std::size_t(columnCount) * std::size_t(rowCount))
    {
    }

    T &at(int column, int row) { return cells[std::size_t(row) * columns + column]; }
    const T &at(int column, int row) const { return cells[std::size_t(row) * columns + column]; }
    // Adds the rows of `below` under these; both have the same columns.
    void append(const CellGrid &below)
    {
        cells.insert(cells.end(), below.cells.begin(), below.cells.end());
        rows += below.rows;
    }
    std::span<const T> row(int r) const { return {cells.data() + std::size_t(r) * columns, std::size_t(columns)}; }
};
