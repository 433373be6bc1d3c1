#pragma once

class CPrintCollection;
class QPrinter;

// Prints the collection as numbered practice sheets on a printer (or a PDF file): blocks of five
// lines under the column numbers 1 to 10, each line numbered 0 to 4, ruled and framed. Returns
// false when the job could not be started. User-interface thread only.
bool PrintSheets(CPrintCollection& collection, QPrinter& printer);
