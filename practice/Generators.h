#pragma once

// The four problem generators fill the two operands under the settings
// mirror of PracticeState; the random choice picks among the ticked boxes
// of the random mix.
void MakeAddition(int& first, int& second);
void MakeSubtraction(int& first, int& second);
void MakeMultiplication(int& first, int& second);
void MakeDivision(int& first, int& second);

enum class TOperation { Addition, Subtraction, Multiplication, Division };

// The sign the problem row shows between the operands: "+", "-", "x", ":".
const char* OperatorSign(TOperation op);

// Whether the generator of the operation could draw first and second as
// its operands under the current settings.
bool SettingsAllow(TOperation op, int first, int second);

// Whether the generator of the operation could draw first and second under
// some settings: sums and differences within 100, products of a table up to
// 10 by 0 to 10, quotients of a divisor up to 10 from 0 to 10. A journal
// line of any other problem was never written by the program.
bool GeneratorCanDraw(TOperation op, int first, int second);

// The ticked states of the random-mix boxes, in the order addition,
// subtraction, multiplication, division.
struct TRandomMix {
    bool Add, Sub, Mul, Div;
};

// Reads the live boxes of the settings dialog (their design states while
// the dialog does not exist yet).
TRandomMix CurrentRandomMix();

TOperation ChooseRandomOperation();
TOperation ChooseRandomOperation(const TRandomMix& mix);
