// The data-exchange file from the main screen: writing, loading and converting.
