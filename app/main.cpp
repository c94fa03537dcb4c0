// Entry point of quillmere. The start-up sequence lives in Module1.
int main()
{
    return 0;
}
