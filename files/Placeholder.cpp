// Measurement files are written and read here.
