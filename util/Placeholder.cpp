// Replaced by the utility sources.
