namespace corvane::sim {}
