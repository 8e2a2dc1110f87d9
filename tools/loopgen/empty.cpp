// Keeps the generator library non-empty while it grows.
