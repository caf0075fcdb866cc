#pragma once
// What a screen reader is told of the URL list: a list of items, one per
// row, whose selected state is the row's selected flag. Rows are asked by
// number, so a selection of any shape costs the same to report.
class TUrlListView;

// Makes TUrlListView report itself through these interfaces. Safe to call
// more than once.
void AnnounceUrlListRows();
