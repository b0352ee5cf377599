#pragma once

// How many columns the terminal on standard output gives an em dash, the
// one character of tavoro's texts whose width terminals disagree on (East
// Asian ambiguous width): tavoro draws one, asks where the cursor went, and
// erases it again. 0 when the terminal does not say within a quarter of a
// second. Whatever the user types meanwhile is kept for the questions.
// Standard input and output must both be a terminal that reads UTF-8.
int measure_em_dash_columns();
