chain "chain2.bas", "other"
