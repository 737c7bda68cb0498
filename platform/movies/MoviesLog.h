// Problems the movie service meets (a file that cannot be read for its text, a
// picture track that cannot be decoded) go to standard error as
// "zoetropica movies: <problem>", each distinct line once per process.
#pragma once

namespace zt::movies {

void LogMoviesProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zt::movies
