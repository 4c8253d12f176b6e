// Replaced by the translator sources.
