/* One empty unit: the libraries of the tree need a source to be generated. */
